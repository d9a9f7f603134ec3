// Loading a whole definition document into the net: the sections in document
// order with the stop-on-failure rule, the root's attributes, binding and the
// start function "GNInit".
#include "model/AbstractTransition.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "lang/FunctionLoader.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNode.hpp>

namespace {

using xercesc::DOMNode;

// Comments and processing instructions carry nothing of the net.
bool isMarkup(const DOMNode& node) {
  DOMNode::NodeType type = node.getNodeType();
  return type == DOMNode::COMMENT_NODE || type == DOMNode::PROCESSING_INSTRUCTION_NODE;
}

const xercesc::DOMElement& asElement(const DOMNode& node) { return static_cast<const xercesc::DOMElement&>(node); }

}  // namespace

bool CAbstractTransition::load(const xercesc::DOMNode& document) {
  log_->write("-->Creating GN Structure.");
  const DOMNode* root = document.getNodeType() == DOMNode::DOCUMENT_NODE
                            ? static_cast<const xercesc::DOMDocument&>(document).getDocumentElement()
                            : document.getFirstChild();
  bool ok = true;
  for (const DOMNode* section = root == nullptr ? nullptr : root->getFirstChild(); ok && section != nullptr;
       section = section->getNextSibling()) {
    if (section->getNodeType() == DOMNode::ELEMENT_NODE) ok = loadSection(*section);
  }
  log_->write("***User defined functions");
  if (!ok || root == nullptr) return false;
  if (hasAttribute(*root, "fundefs") && !loadFunctionFile(*this, attributeValue(*root, "fundefs"))) return false;
  if (hasAttribute(*root, "time") && leadingInteger(attributeValue(*root, "time")) < 0) return false;
  if (anyNameRefused() || !bindAll() || anyNameRefused()) return false;
  traceFunction_ = registeredFunction("GNTrace");
  if (!functions_.contains("GNInit")) return true;
  CFunction* start = registeredFunction("GNInit");
  return start != nullptr && start->execute(nullptr, nullptr, 0) != 0;
}

bool CAbstractTransition::loadSection(const xercesc::DOMNode& section) {
  std::string name = elementName(section);
  if (name == "transitions") return loadSectionItems(section, "***GN TRANSITIONS", &CAbstractTransition::loadTransition);
  if (name == "places") return loadSectionItems(section, "***GN PLACES", &CAbstractTransition::loadPlace);
  if (name == "functions") return loadSectionItems(section, "***GN FUNCTIONS", &CAbstractTransition::loadFunctionItem);
  if (name == "tokens") return loadSectionItems(section, "***GN TOKENS", &CAbstractTransition::loadTokenItem);
  return true;
}

// Loads the section's children one by one until one fails.
bool CAbstractTransition::loadSectionItems(const xercesc::DOMNode& section, const char* header,
                                           bool (CAbstractTransition::*loadItem)(const xercesc::DOMNode&)) {
  log_->write(header);
  for (const DOMNode* item = section.getFirstChild(); item != nullptr; item = item->getNextSibling()) {
    if (!isMarkup(*item) && !(this->*loadItem)(*item)) return false;
  }
  return true;
}

bool CAbstractTransition::loadTransition(const xercesc::DOMNode& item) {
  if (item.getNodeType() != DOMNode::ELEMENT_NODE) return true;
  return adoptTransition(std::make_unique<CSimpleTransition>(*this))->load(item);
}

bool CAbstractTransition::loadPlace(const xercesc::DOMNode& item) {
  if (item.getNodeType() != DOMNode::ELEMENT_NODE) return true;
  return adoptPlace(std::make_unique<CPlace>(*this))->load(asElement(item));
}

bool CAbstractTransition::loadFunctionItem(const xercesc::DOMNode& item) { return loadFunctions(*this, item); }

bool CAbstractTransition::loadTokenItem(const xercesc::DOMNode& item) {
  if (item.getNodeType() != DOMNode::ELEMENT_NODE) return true;
  std::string name = elementName(item);
  if (name == "token") return adoptToken(std::make_unique<CToken>(*this))->load(asElement(item), true);
  if (name == "generator") return adoptGenerator(std::make_unique<CTokenGenerator>(*this))->load(asElement(item));
  return false;
}

bool CAbstractTransition::anyNameRefused() const {
  return transitions_.hasRefused() || places_.hasRefused() || functions_.hasRefused() || tokens_.hasRefused();
}

CFunction* CAbstractTransition::registeredFunction(std::string_view name) {
  if (!functions_.contains(name)) return nullptr;
  return static_cast<CFunction*>(functions_.objectAt(functions_.indexOf(name)));
}
