// DefinitionDocument: the parsed definition as the loader reads it, a compact
// tree of DefinitionNode (elements, text, other markup) in document order,
// with every name and text in ISO-8859-1, all held in one arena.
// Thread rule: built and read by one thread; released as a whole.
#pragma once

#include "base/LargePageBlocks.h"
#include "model/XmlText.h"

#include <cstdint>
#include <memory_resource>
#include <span>
#include <string_view>

// The namespace of every element of a definition document.
inline constexpr const char* kDefinitionNamespace = "urn:vanterserver:gn-definition";

// One node: an element (its name, attributes and children), a run of
// character data or a CDATA section ("text"), or a comment, processing
// instruction or entity reference ("markup", whose content nothing reads).
class DefinitionNode {
 public:
  enum class Kind : std::uint8_t { Element, Text, Markup };
  struct Attribute {
    std::string_view name;  // as written, prefix included
    std::string_view value;
  };

  Kind kind() const { return kind_; }
  bool isElement() const { return kind_ == Kind::Element; }
  // An element's local name when it is in the definition namespace, else
  // empty: foreign elements never match a name the loader reads.
  std::string_view name() const { return isElement() ? text_ : std::string_view(); }
  // The characters of a text, the text of a comment or the data of a
  // processing instruction; empty for elements and entity references.
  std::string_view value() const { return isElement() ? std::string_view() : text_; }
  // The attribute's value, the schema's defaults included; empty when missing.
  std::string_view attribute(std::string_view name) const;
  bool hasAttribute(std::string_view name) const { return find(name) != nullptr; }
  // The value of the first child, whatever its kind; empty when there is none.
  std::string_view firstChildText() const { return firstChild_ == nullptr ? std::string_view() : firstChild_->value(); }
  const DefinitionNode* firstChild() const { return firstChild_; }
  const DefinitionNode* nextSibling() const { return nextSibling_; }

 private:
  friend class DefinitionDocument;
  DefinitionNode(Kind kind, std::string_view text, std::span<const Attribute> attributes)
      : kind_(kind), attributeCount_(static_cast<std::uint32_t>(attributes.size())), text_(text),
        attributes_(attributes.data()) {}
  const Attribute* find(std::string_view name) const;

  Kind kind_;
  std::uint32_t attributeCount_;
  std::string_view text_;
  const Attribute* attributes_;
  DefinitionNode* firstChild_ = nullptr;
  DefinitionNode* lastChild_ = nullptr;
  DefinitionNode* nextSibling_ = nullptr;
};

// Owns every node and text of one document; nodes stay valid until it is
// destroyed. Built in document order by appending children.
class DefinitionDocument {
 public:
  DefinitionDocument() = default;
  DefinitionDocument(const DefinitionDocument&) = delete;
  DefinitionDocument& operator=(const DefinitionDocument&) = delete;

  // The root element; null until one is added.
  const DefinitionNode* root() const { return root_; }
  // Appends an element to `parent` (null: it becomes the root). `name` is
  // empty for an element outside the definition namespace. The attributes
  // are copied, but not the texts: the name and the attributes' texts must live
  // as long as the document (keepLatin1 makes such texts).
  DefinitionNode* addElement(DefinitionNode* parent, std::string_view name,
                             std::span<const DefinitionNode::Attribute> attributes);
  // Appends a text or markup node; its value must live as long as the document.
  void addLeaf(DefinitionNode& parent, DefinitionNode::Kind kind, std::string_view value);
  // Copies the ISO-8859-1 text of `length` UTF-16 code units at `text` into
  // the document; the copy lives as long as the document.
  std::string_view keepLatin1(const XMLCh* text, std::size_t length);

 private:
  void append(DefinitionNode* parent, DefinitionNode* child);

  // The first block of the arena; a large document grows it into blocks of large pages.
  static constexpr std::size_t kFirstBlock = 64 * 1024;

  // Nodes and attributes are trivially destructible: the arena releases them without a walk.
  std::pmr::monotonic_buffer_resource arena_{kFirstBlock, &LargePageBlocks::instance()};
  DefinitionNode* root_ = nullptr;
};

// The leading decimal integer of a text (0 when there is none), as attributes are read.
int leadingInteger(std::string_view text);
