// CPlace: reading a place element and binding its functions and transitions.
// The step operations live with the step engine.
#include "model/Place.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"

#include <xercesc/dom/DOMElement.hpp>

namespace {

constexpr const char* kDoubleBinding = "Double place binding detected";

CFunction* functionAt(CAbstractTransition& net, int index) {
  return static_cast<CFunction*>(net.functionsTable().objectAt(index));
}

}  // namespace

CPlace::CPlace(CAbstractTransition& net) : net_(&net) {}

bool CPlace::load(const xercesc::DOMElement& element) {
  std::string id = attributeValue(element, "id");
  if (net_->placesTable().define(id, this) < 0) return false;
  std::string characteristicName = attributeValue(element, "char");
  CSimpleInterface& log = net_->log();
  log.write("-------- Place --------");
  log.write(id);
  log.write(characteristicName);
  log.write(attributeValue(element, "priority"));
  log.write(attributeValue(element, "capacity"));
  log.write("-----------------------");
  characteristicIndex_ = net_->functionsTable().indexOf(characteristicName);
  setPriority(leadingInteger(attributeValue(element, "priority")));
  capacity_ = leadingInteger(attributeValue(element, "capacity"));
  // Only the exact text "false" turns merging off.
  merge_ = attributeValue(element, "merge") != "false";
  mergeRuleIndex_ = net_->functionsTable().indexOf(attributeValue(element, "mergeRule"));
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
