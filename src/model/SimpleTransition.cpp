// CSimpleTransition: reading a transition element with its place lists and
// index matrices, and binding it to its places and predicate functions.
// The step operations live with the step engine.
#include "model/SimpleTransition.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/CapacityText.h"
#include "model/DefinitionDocument.h"
#include "model/Place.h"

#include <algorithm>

namespace {

// A transition lists at most as many inputs (or outputs) as a net has places.
constexpr int kMaxPlacesPerSide = NameTable::kPlaceCapacity;

// Position of a places-table index in a list, or -1.
int positionOf(const std::vector<int>& names, int index) {
  auto found = std::find(names.begin(), names.end(), index);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

}  // namespace

CSimpleTransition::CSimpleTransition(CAbstractTransition& net) : net_(&net) {}

CSimpleTransition::~CSimpleTransition() = default;

bool CSimpleTransition::load(const DefinitionNode& element) {
  id_ = element.attribute("id");
  if (net_->transitionsTable().define(id_, this) < 0) return false;
  CSimpleInterface& log = net_->log();
  log.write("-------- Transition --------");
  log.write(id_);
  log.write("----------------------------");
  for (const DefinitionNode* child = element.firstChild(); child != nullptr; child = child->nextSibling()) {
    if (child->isElement() && !loadPart(*child)) return false;
  }
  setPriority(leadingInteger(element.attribute("priority")));
  lifeTime_ = leadingInteger(element.attribute("lifeTime"));
  startTime_ = leadingInteger(element.attribute("startTime"));
  return true;
}

bool CSimpleTransition::loadPart(const DefinitionNode& part) {
  std::string_view name = part.name();
  if (name == "inputs") {
    return loadPlaces(part, "input", "*input place names:", inputNames_, inputCount_, inputsRead_);
  }
  if (name == "outputs") {
    return loadPlaces(part, "output", "*output place names:", outputNames_, outputCount_, outputsRead_);
  }
  if (name == "predicates") return loadPredicates(part);
  if (name == "capacities") {
    net_->log().write("*capacity matrix");
    capacitiesRead_ = true;
    return readCapacityText(part.firstChildText(), inputCount_, outputCount_, id_, net_->log(), capacities_);
  }
  return true;
}

// Each place goes to the front, so positions run against document order.
bool CSimpleTransition::loadPlaces(const DefinitionNode& list, std::string_view itemName, const char* header,
                                   std::vector<int>& names, int& count, bool& read) {
  if (read) {
    net_->log().write("second " + std::string(itemName) + "s element refused in transition " + id_);
    return false;
  }
  read = true;
  net_->log().write(header);
  for (const DefinitionNode* item = list.firstChild(); item != nullptr; item = item->nextSibling()) {
    if (!item->isElement() || item->name() != itemName) continue;
    if (count == kMaxPlacesPerSide) {
      net_->log().write("more than " + std::to_string(kMaxPlacesPerSide) + " " + std::string(itemName) +
                        " places refused in transition " + id_);
      return false;
    }
    std::string_view ref = item->attribute("ref");
    int index = net_->placesTable().indexOf(ref);
    if (index < 0) return false;
    ++count;
    names.insert(names.begin(), index);
    net_->log().write(ref);
  }
  return true;
}

bool CSimpleTransition::loadPredicates(const DefinitionNode& predicates) {
  net_->log().write("*predicate matrix");
  bool allTrue = predicates.attribute("default") == "true";
  predicates_ = std::make_unique<PredicateMatrix>(inputCount_, outputCount_,
                                                  allTrue ? PredicateMatrix::Cell::True : PredicateMatrix::Cell::False);
  for (const DefinitionNode* item = predicates.firstChild(); item != nullptr; item = item->nextSibling()) {
    if (item->isElement() && item->name() == "predicate" && !loadPredicate(*item)) return false;
  }
  return true;
}

bool CSimpleTransition::loadPredicate(const DefinitionNode& predicate) {
  std::string_view text = predicate.firstChildText();
  std::string_view input = predicate.attribute("input");
  std::string_view output = predicate.attribute("output");
  int row = positionOf(inputNames_, net_->placesTable().indexOf(input));
  int column = positionOf(outputNames_, net_->placesTable().indexOf(output));
  if (row < 0 || column < 0) {
    net_->log().write("predicate refused in transition " + id_ + ": " + std::string(row < 0 ? input : output) +
                      (row < 0 ? " is not one of its inputs" : " is not one of its outputs"));
    return false;
  }
  if (text == "true" || text == "false") {
    predicates_->setConstant(row, column, text == "true");
  } else {
    int index = net_->functionsTable().indexOf(text);
    if (index < 0) return false;
    predicates_->setFunctionIndex(row, column, index);
  }
  net_->log().write(text);
  return true;
}

bool CSimpleTransition::bind() {
  if (!bindPlaces(inputNames_, inputs_, true) || !bindPlaces(outputNames_, outputs_, false)) return false;
  inputs_.resort();
  outputs_.resort();
  if (!predicates_) {
    net_->log().write("transition without predicates refused:");
    net_->log().write(id_);
    return false;
  }
  return matricesFitPlaces() && bindPredicates();
}

// A matrix takes its size from the inputs and outputs read before it: one read
// earlier would be indexed past its end by the step.
bool CSimpleTransition::matricesFitPlaces() const {
  bool fits = predicates_->rows() == inputCount_ && predicates_->columns() == outputCount_;
  if (capacitiesRead_) {
    fits = fits && static_cast<int>(capacities_.size()) == inputCount_;
    for (const std::vector<int>& row : capacities_) fits = fits && static_cast<int>(row.size()) == outputCount_;
  }
  if (!fits) {
    net_->log().write("transition refused: its matrices do not have a row for each of its " +
                      std::to_string(inputCount_) + " inputs and a column for each of its " +
                      std::to_string(outputCount_) + " outputs (give inputs and outputs first): " + id_);
  }
  return fits;
}

// Binds each place in list order, storing its position as row or column; stops
// at the first missing place or second binding. The list holds the places bound.
bool CSimpleTransition::bindPlaces(const std::vector<int>& names, CLList& list, bool asInput) {
  std::vector<CPlace*> bound;
  bool ok = true;
  for (int position = 0; ok && position < static_cast<int>(names.size()); ++position) {
    CGNObject* object = net_->placesTable().objectAt(names[static_cast<std::size_t>(position)]);
    auto* place = static_cast<CPlace*>(object);
    ok = place != nullptr && (asInput ? place->bindAsInput(this) : place->bindAsOutput(this));
    if (!ok) break;
    if (asInput) place->setInputIndex(position);
    else place->setOutputIndex(position);
    bound.push_back(place);
  }
  for (auto place = bound.rbegin(); place != bound.rend(); ++place) list.addFront(*place);
  return ok;
}

bool CSimpleTransition::bindPredicates() {
  for (int i = 0; i < predicates_->rows(); ++i) {
    for (int j = 0; j < predicates_->columns(); ++j) {
      if (predicates_->cell(i, j) != PredicateMatrix::Cell::Function) continue;
      CGNObject* function = net_->functionsTable().objectAt(predicates_->functionIndex(i, j));
      if (function == nullptr) return false;
      predicates_->setFunction(i, j, static_cast<CFunction*>(function));
    }
  }
  return true;
}
