// DefinitionDocument: appending nodes and texts to the arena, attribute
// look-up, and the leading decimal integer of attribute text.
#include "model/DefinitionDocument.h"

#include <cctype>
#include <climits>
#include <memory>
#include <new>

std::string_view DefinitionNode::attribute(std::string_view name) const {
  const Attribute* found = find(name);
  return found == nullptr ? std::string_view() : found->value;
}

const DefinitionNode::Attribute* DefinitionNode::find(std::string_view name) const {
  for (std::uint32_t i = 0; i < attributeCount_; ++i) {
    if (attributes_[i].name == name) return &attributes_[i];
  }
  return nullptr;
}

DefinitionNode* DefinitionDocument::addElement(DefinitionNode* parent, std::string_view name,
                                               std::span<const DefinitionNode::Attribute> attributes) {
  DefinitionNode::Attribute* kept = nullptr;
  if (!attributes.empty()) {
    kept = static_cast<DefinitionNode::Attribute*>(
        arena_.allocate(attributes.size() * sizeof(DefinitionNode::Attribute), alignof(DefinitionNode::Attribute)));
    std::uninitialized_copy(attributes.begin(), attributes.end(), kept);
  }
  void* place = arena_.allocate(sizeof(DefinitionNode), alignof(DefinitionNode));
  auto* element = new (place) DefinitionNode(DefinitionNode::Kind::Element, name, {kept, attributes.size()});
  append(parent, element);
  return element;
}

void DefinitionDocument::addLeaf(DefinitionNode& parent, DefinitionNode::Kind kind, std::string_view value) {
  void* place = arena_.allocate(sizeof(DefinitionNode), alignof(DefinitionNode));
  append(&parent, new (place) DefinitionNode(kind, value, {}));
}

std::string_view DefinitionDocument::keepLatin1(const XMLCh* text, std::size_t length) {
  if (length == 0) return {};
  auto* copy = static_cast<char*>(arena_.allocate(length, 1));
  return {copy, writeLatin1(copy, text, length)};
}

void DefinitionDocument::append(DefinitionNode* parent, DefinitionNode* child) {
  if (parent == nullptr) {
    root_ = child;
    return;
  }
  if (parent->lastChild_ == nullptr) parent->firstChild_ = child;
  else parent->lastChild_->nextSibling_ = child;
  parent->lastChild_ = child;
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
