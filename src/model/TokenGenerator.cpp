// CTokenGenerator: reading a generator element with its template token, and
// binding the template's host and the predicate. Generation lives with the
// step engine.
#include "model/TokenGenerator.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "model/NameTable.h"
#include "model/Place.h"
#include "model/Token.h"

#include <xercesc/dom/DOMElement.hpp>

namespace {

// Generated names are the id, "_" and a count of up to 10 digits, and must
// fit the tokens table.
constexpr std::size_t kMaxGeneratorId = NameTable::kMaxName - 11;

CTokenGenerator::Type typeOf(const std::string& text) {
  if (text == "periodic") return CTokenGenerator::Type::Periodic;
  if (text == "conditional") return CTokenGenerator::Type::Conditional;
  if (text == "random") return CTokenGenerator::Type::Random;
  return CTokenGenerator::Type::None;
}

}  // namespace

CTokenGenerator::CTokenGenerator(CAbstractTransition& net) : net_(&net), template_(std::make_unique<CToken>(net)) {}

CTokenGenerator::~CTokenGenerator() = default;

bool CTokenGenerator::load(const xercesc::DOMElement& element) {
  std::string predicate = attributeValue(element, "predicate");
  CSimpleInterface& log = net_->log();
  log.write("------- Token Generator -------");
  log.write(attributeValue(element, "type"));
  log.write(predicate);
  log.write(attributeValue(element, "period"));
  log.write("-------------------------------");
  if (!loadPredicate(predicate)) return false;
  period_ = leadingInteger(attributeValue(element, "period"));
  namePrefix_ = attributeValue(element, "id");
  if (namePrefix_.size() > kMaxGeneratorId) {
    log.write("generator id longer than " + std::to_string(kMaxGeneratorId) + " characters refused: " + namePrefix_);
    return false;
  }
  type_ = typeOf(attributeValue(element, "type"));
  if (!template_->load(element, false)) return false;
  nextTime_ = template_->entering();
  return true;
}

bool CTokenGenerator::loadPredicate(const std::string& predicate) {
  if (predicate == "true" || predicate == "false") {
    predicateKind_ = predicate == "true" ? PredicateKind::True : PredicateKind::False;
    return true;
  }
  predicateKind_ = PredicateKind::Function;
  predicateIndex_ = net_->functionsTable().indexOf(predicate);
  return predicateIndex_ >= 0;
}

bool CTokenGenerator::bind() {
  CGNObject* host = net_->placesTable().objectAt(template_->hostIndex());
  if (host == nullptr) return false;
  template_->setHost(static_cast<CPlace*>(host));
  if (predicateKind_ != PredicateKind::Function) return true;
  predicate_ = static_cast<CFunction*>(net_->functionsTable().objectAt(predicateIndex_));
  return predicate_ != nullptr;
}
