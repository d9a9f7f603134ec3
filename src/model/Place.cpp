// CPlace: reading a place element and binding its functions and transitions.
// The step operations live with the step engine.
#include "model/Place.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionDocument.h"

namespace {

constexpr const char* kDoubleBinding = "Double place binding detected";

CFunction* functionAt(CAbstractTransition& net, int index) {
  return static_cast<CFunction*>(net.functionsTable().objectAt(index));
}

}  // namespace

CPlace::CPlace(CAbstractTransition& net) : net_(&net) {}

bool CPlace::load(const DefinitionNode& element) {
  std::string_view id = element.attribute("id");
  if (net_->placesTable().define(id, this) < 0) return false;
  std::string_view characteristicName = element.attribute("char");
  CSimpleInterface& log = net_->log();
  log.write("-------- Place --------");
  log.write(id);
  log.write(characteristicName);
  log.write(element.attribute("priority"));
  log.write(element.attribute("capacity"));
  log.write("-----------------------");
  characteristicIndex_ = net_->functionsTable().indexOf(characteristicName);
  setPriority(leadingInteger(element.attribute("priority")));
  capacity_ = leadingInteger(element.attribute("capacity"));
  // Only the exact text "false" turns merging off.
  merge_ = element.attribute("merge") != "false";
  mergeRuleIndex_ = net_->functionsTable().indexOf(element.attribute("mergeRule"));
  return characteristicIndex_ >= 0 && mergeRuleIndex_ >= 0;
}

bool CPlace::bind() {
  characteristicFunction_ = functionAt(*net_, characteristicIndex_);
  mergeRule_ = functionAt(*net_, mergeRuleIndex_);
  return characteristicFunction_ != nullptr && mergeRule_ != nullptr;
}

bool CPlace::bindAsInput(CSimpleTransition* transition) {
  if (inputOf_ != nullptr) {
    net_->log().write(kDoubleBinding);
    return false;
  }
  inputOf_ = transition;
  return true;
}

bool CPlace::bindAsOutput(CSimpleTransition* transition) {
  if (outputOf_ != nullptr) {
    net_->log().write(kDoubleBinding);
    return false;
  }
  outputOf_ = transition;
  return true;
}
