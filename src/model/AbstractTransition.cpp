// CAbstractTransition: construction, preparation, initialisation, ownership of
// the net's objects and the name services. Loading and binding have files of
// their own; the step lives with the step engine.
#include "model/AbstractTransition.h"

#include "base/SanitizerBuild.h"
#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

#include <malloc.h>

#include <cassert>

namespace {

constexpr const char* kNotFoundToken = "NotFound";
constexpr const char* kNotFoundOther = "NotFound.";

}  // namespace

bool CAbstractTransition::EnteringLater::operator()(const CToken* a, const CToken* b) const {
  return a->entering() > b->entering();
}

CAbstractTransition::CAbstractTransition()
    : transitions_("transitions", NameTable::kTransitionCapacity, false, kNotFoundOther),
      places_("places", NameTable::kPlaceCapacity, false, kNotFoundOther),
      functions_("functions", NameTable::kFunctionCapacity, false, kNotFoundOther),
      tokens_("tokens", NameTable::kTokenCapacity, true, kNotFoundToken) {}

CAbstractTransition::~CAbstractTransition() {
  generators_.clear();
  ownedTokens_.clear();
  keptTokens_.clear();
  ownedTransitions_.clear();
  ownedPlaces_.clear();
  ownedFunctions_.clear();
}

void CAbstractTransition::prepare(CSimpleInterface* log, std::string_view definitionPath,
                                  std::string_view filePrefix, EventManager* events) {
  assert(log != nullptr);
  log_ = log;
  events_ = events;
  for (NameTable* table : {&transitions_, &places_, &functions_, &tokens_}) {
    table->clear();
    table->setLog(log);
  }
  time_ = 0;
  runtimeOk_ = true;
  traceFunction_ = nullptr;
  definitionPath_ = std::string(definitionPath);
  filePrefix_ = std::string(filePrefix);
  initialised_ = false;
}

bool CAbstractTransition::initialize() {
  assert(log_ != nullptr);
  initialised_ = false;
  if (definitionPath_.size() > kMaxPath || filePrefix_.size() > kMaxPath) {
    log_->write("definition path or file prefix longer than " + std::to_string(kMaxPath) + " characters refused");
    return false;
  }
  initialised_ = parseAndLoad();
  // The document's blocks lie between the net's own: hand the pages they
  // freed back to the system, or the process keeps the document's size.
  // The sanitizer's heap is not the C library's, whose trim would then walk
  // arenas that other threads may be setting up at that moment.
  if constexpr (!kAddressSanitizerBuild) malloc_trim(0);
  return initialised_;
}

// Nothing reads the document once the net is built, so the parser and the
// document (several times the net's own size) go when loading ends.
bool CAbstractTransition::parseAndLoad() {
  DefinitionParser parser(definitionPath_, filePrefix_);
  const DefinitionNode* root = parser.parse();
  if (root == nullptr) {
    log_->write("There was an error reading the GN definition");
    return false;
  }
  return load(*root);
}

CPlace* CAbstractTransition::adoptPlace(std::unique_ptr<CPlace> place) {
  ownedPlaces_.push_back(std::move(place));
  return ownedPlaces_.back().get();
}

CSimpleTransition* CAbstractTransition::adoptTransition(std::unique_ptr<CSimpleTransition> transition) {
  ownedTransitions_.push_back(std::move(transition));
  return ownedTransitions_.back().get();
}

CFunction* CAbstractTransition::adoptFunction(std::unique_ptr<CFunction> function) {
  ownedFunctions_.push_back(std::move(function));
  return ownedFunctions_.back().get();
}

CToken* CAbstractTransition::adoptToken(std::unique_ptr<CToken> token) {
  token->setOwnedIndex(static_cast<int>(ownedTokens_.size()));
  ownedTokens_.push_back(std::move(token));
  return ownedTokens_.back().get();
}

CTokenGenerator* CAbstractTransition::adoptGenerator(std::unique_ptr<CTokenGenerator> generator) {
  generators_.push_back(std::move(generator));
  return generators_.back().get();
}

// The last token takes the disowned one's place.
std::unique_ptr<CToken> CAbstractTransition::disownToken(CToken* token) {
  const int index = token->ownedIndex();
  if (index < 0 || index >= static_cast<int>(ownedTokens_.size())) return nullptr;
  std::unique_ptr<CToken>& slot = ownedTokens_[static_cast<std::size_t>(index)];
  if (slot.get() != token) return nullptr;  // not one of this net's tokens
  std::unique_ptr<CToken> disowned = std::move(slot);
  if (&slot != &ownedTokens_.back()) {
    slot = std::move(ownedTokens_.back());
    slot->setOwnedIndex(index);
  }
  ownedTokens_.pop_back();
  disowned->setOwnedIndex(-1);
  return disowned;
}

void CAbstractTransition::queueForEntering(CToken* token) { enteringQueue_.push(token); }

const std::string& CAbstractTransition::tokenName(const CToken* token) const { return tokens_.nameOf(token); }

const std::string& CAbstractTransition::placeName(const CPlace* place) const { return places_.nameOf(place); }

const std::string& CAbstractTransition::transitionName(const CSimpleTransition* t) const {
  return transitions_.nameOf(t);
}

const std::string& CAbstractTransition::functionName(const CFunction* function) const {
  return functions_.nameOf(function);
}
