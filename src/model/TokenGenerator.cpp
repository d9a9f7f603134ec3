// CTokenGenerator: reading a generator element with its template token, and
// binding the template's host and the predicate. Generation lives with the
// step engine.
#include "model/TokenGenerator.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionDocument.h"
#include "model/NameTable.h"
#include "model/Place.h"
#include "model/Token.h"

namespace {

// Generated names are the id, "_" and a count of up to 10 digits, and must
// fit the tokens table.
constexpr std::size_t kMaxGeneratorId = NameTable::kMaxName - 11;

CTokenGenerator::Type typeOf(std::string_view text) {
  if (text == "periodic") return CTokenGenerator::Type::Periodic;
  if (text == "conditional") return CTokenGenerator::Type::Conditional;
  if (text == "random") return CTokenGenerator::Type::Random;
  return CTokenGenerator::Type::None;
}

}  // namespace

CTokenGenerator::CTokenGenerator(CAbstractTransition& net) : net_(&net), template_(std::make_unique<CToken>(net)) {}

CTokenGenerator::~CTokenGenerator() = default;

bool CTokenGenerator::load(const DefinitionNode& element) {
  std::string_view predicate = element.attribute("predicate");
  CSimpleInterface& log = net_->log();
  log.write("------- Token Generator -------");
  log.write(element.attribute("type"));
  log.write(predicate);
  log.write(element.attribute("period"));
  log.write("-------------------------------");
  if (!loadPredicate(predicate)) return false;
  period_ = leadingInteger(element.attribute("period"));
  namePrefix_ = element.attribute("id");
  if (namePrefix_.size() > kMaxGeneratorId) {
    log.write("generator id longer than " + std::to_string(kMaxGeneratorId) + " characters refused:");
    log.write(namePrefix_);
    return false;
  }
  type_ = typeOf(element.attribute("type"));
  if (!template_->load(element, false)) return false;
  nextTime_ = template_->entering();
  return true;
}

bool CTokenGenerator::loadPredicate(std::string_view predicate) {
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
