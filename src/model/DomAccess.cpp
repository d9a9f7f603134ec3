// The loader's DOM accessors: attributes, first-child text, element names and
// the leading decimal integer of attribute text.
#include "model/DefinitionParser.h"

#include "model/XmlText.h"

#include <cctype>
#include <climits>
#include <cstdint>

#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMNode.hpp>

namespace {

const xercesc::DOMNode* attributeNode(const xercesc::DOMNode& element, std::string_view name) {
  const xercesc::DOMNamedNodeMap* attributes = element.getAttributes();
  if (attributes == nullptr) return nullptr;
  return attributes->getNamedItem(fromLatin1(name).c_str());
}

}  // namespace

std::string attributeValue(const xercesc::DOMNode& element, std::string_view name) {
  const xercesc::DOMNode* attribute = attributeNode(element, name);
  return attribute == nullptr ? std::string() : toLatin1(attribute->getNodeValue());
}

int hasAttribute(const xercesc::DOMNode& element, std::string_view name) {
  return attributeNode(element, name) != nullptr ? 1 : 0;
}

std::string firstChildText(const xercesc::DOMNode& node) {
  const xercesc::DOMNode* child = node.getFirstChild();
  return child == nullptr ? std::string() : toLatin1(child->getNodeValue());
}

// Validation lets foreign elements through unchecked (at the root and among
// tokens), so their names must not match anything the loader reads.
std::string elementName(const xercesc::DOMNode& node) {
  static const XmlString definitionNamespace = fromLatin1(kDefinitionNamespace);
  const XMLCh* space = node.getNamespaceURI();
  const XMLCh* local = node.getLocalName();
  if (node.getNodeType() != xercesc::DOMNode::ELEMENT_NODE || space == nullptr || local == nullptr ||
      definitionNamespace != space) {
    return {};
  }
  return toLatin1(local);
}

int leadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  // Beyond the 32-bit range the value sticks at its end rather than wrapping.
  std::int64_t magnitude = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > static_cast<std::int64_t>(INT_MAX) + 1) magnitude = static_cast<std::int64_t>(INT_MAX) + 1;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}
