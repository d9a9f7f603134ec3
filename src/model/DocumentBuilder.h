// DocumentBuilder: the XML library's SAX2 events turned into a
// DefinitionDocument with the nodes a DOM parser would have made (adjacent
// character data merged into one text, each CDATA section, comment and
// processing instruction a node of its own, an entity reference one opaque
// node), and the depth the elements have reached.
// Thread rule: one builder per parse, used by the parsing thread only.
#pragma once

#include "model/DefinitionDocument.h"
#include "model/XmlText.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <xercesc/sax2/DefaultHandler.hpp>

class DocumentBuilder final : public xercesc::DefaultHandler {
 public:
  // The deepest nesting of elements met so far, the root being 1.
  int deepest() const { return deepest_; }
  // The document built so far (complete once the parse has ended).
  DefinitionDocument& document() { return document_; }

  void startElement(const XMLCh* uri, const XMLCh* localName, const XMLCh* qualifiedName,
                    const xercesc::Attributes& attributes) override;
  void endElement(const XMLCh* uri, const XMLCh* localName, const XMLCh* qualifiedName) override;
  void characters(const XMLCh* chars, XMLSize_t length) override;
  void processingInstruction(const XMLCh* target, const XMLCh* data) override;
  void comment(const XMLCh* chars, XMLSize_t length) override;
  void startCDATA() override;
  void endCDATA() override;
  void startEntity(const XMLCh* name) override;
  void endEntity(const XMLCh* name) override;

 private:
  // Content is read only inside the root element and outside entity references.
  bool building() const { return !open_.empty() && entityDepth_ == 0; }
  // Converts the name (null: a foreign element, no name) and the attributes
  // into attributes_; the element's name.
  std::string_view convertElement(const XMLCh* name, const xercesc::Attributes& attributes);
  // The document's copy of an element or attribute name, made once per name.
  std::string_view keptName(const XMLCh* name);
  // Ends the character data run before any other node.
  void endText();
  void addLeaf(DefinitionNode::Kind kind, const XMLCh* chars, XMLSize_t length);

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const { return std::hash<std::u16string_view>()(name); }
  };

  DefinitionDocument document_;
  std::vector<DefinitionNode*> open_;  // the elements started and not ended, innermost last
  int depth_ = 0;
  int deepest_ = 0;
  int entityDepth_ = 0;  // entity references open inside the current element
  bool inText_ = false;  // a run of character data is being gathered in text_
  bool inCDATA_ = false;
  XmlString text_;
  // A definition repeats a few names thousands of times: each is converted once.
  std::unordered_map<XmlString, std::string_view, NameHash, std::equal_to<>> names_;
  std::vector<DefinitionNode::Attribute> attributes_;  // scratch, reused
};
