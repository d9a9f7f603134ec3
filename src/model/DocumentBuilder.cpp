// DocumentBuilder: elements with their namespace-checked names and
// attributes, text runs, CDATA sections and markup appended in document order.
#include "model/DocumentBuilder.h"

#include <algorithm>

#include <xercesc/sax2/Attributes.hpp>

namespace {

bool inDefinitionNamespace(const XMLCh* uri) {
  static const XmlString definitionNamespace = fromLatin1(kDefinitionNamespace);
  return uri != nullptr && definitionNamespace == uri;
}

std::size_t lengthOf(const XMLCh* text) { return text == nullptr ? 0 : std::char_traits<XMLCh>::length(text); }

}  // namespace

void DocumentBuilder::startElement(const XMLCh* uri, const XMLCh* localName, const XMLCh*,
                                   const xercesc::Attributes& attributes) {
  deepest_ = std::max(deepest_, ++depth_);
  if (!open_.empty() && !building()) return;
  endText();
  std::string_view name = convertElement(inDefinitionNamespace(uri) ? localName : nullptr, attributes);
  DefinitionNode* parent = open_.empty() ? nullptr : open_.back();
  open_.push_back(document_.addElement(parent, name, attributes_));
}

std::string_view DocumentBuilder::convertElement(const XMLCh* name, const xercesc::Attributes& attributes) {
  attributes_.clear();
  for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
    const XMLCh* value = attributes.getValue(i);
    attributes_.push_back({keptName(attributes.getQName(i)), document_.keepLatin1(value, lengthOf(value))});
  }
  return name == nullptr ? std::string_view() : keptName(name);
}

std::string_view DocumentBuilder::keptName(const XMLCh* name) {
  const std::u16string_view key(name, lengthOf(name));
  auto found = names_.find(key);
  if (found != names_.end()) return found->second;
  std::string_view kept = document_.keepLatin1(key.data(), key.size());
  names_.emplace(XmlString(key), kept);
  return kept;
}

// Elements inside an entity reference were never added, so only their depth ends.
void DocumentBuilder::endElement(const XMLCh*, const XMLCh*, const XMLCh*) {
  --depth_;
  if (!building()) return;
  endText();
  open_.pop_back();
}

void DocumentBuilder::characters(const XMLCh* chars, XMLSize_t length) {
  if (!building()) return;
  text_.append(chars, length);
  inText_ = true;
}

void DocumentBuilder::processingInstruction(const XMLCh*, const XMLCh* data) {
  addLeaf(DefinitionNode::Kind::Markup, data, data == nullptr ? 0 : std::char_traits<XMLCh>::length(data));
}

void DocumentBuilder::comment(const XMLCh* chars, XMLSize_t length) {
  addLeaf(DefinitionNode::Kind::Markup, chars, length);
}

// The library reports each CDATA section's characters between these two.
void DocumentBuilder::startCDATA() {
  if (!building()) return;
  endText();
  inCDATA_ = true;
}

void DocumentBuilder::endCDATA() {
  if (!building() || !inCDATA_) return;
  inCDATA_ = false;
  inText_ = false;
  addLeaf(DefinitionNode::Kind::Text, text_.data(), text_.size());
  text_.clear();
}

// An entity reference is one node whose content the loader never reads.
void DocumentBuilder::startEntity(const XMLCh*) {
  if (open_.empty()) return;  // the document type's entities
  if (entityDepth_ == 0) addLeaf(DefinitionNode::Kind::Markup, nullptr, 0);
  ++entityDepth_;
}

void DocumentBuilder::endEntity(const XMLCh*) {
  if (open_.empty() || entityDepth_ == 0) return;
  --entityDepth_;
}

void DocumentBuilder::endText() {
  if (!inText_) return;
  inText_ = false;
  document_.addLeaf(*open_.back(), DefinitionNode::Kind::Text, document_.keepLatin1(text_.data(), text_.size()));
  text_.clear();
}

void DocumentBuilder::addLeaf(DefinitionNode::Kind kind, const XMLCh* chars, XMLSize_t length) {
  if (!building()) return;
  endText();
  document_.addLeaf(*open_.back(), kind, document_.keepLatin1(chars, length));
}
