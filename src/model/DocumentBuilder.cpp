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

void appendTerminated(std::string& out, const XMLCh* text) {
  if (text != nullptr) appendLatin1(out, text, std::char_traits<XMLCh>::length(text));
}

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

// All texts go into latin1_ first and the views are taken after, when it no
// longer moves.
std::string_view DocumentBuilder::convertElement(const XMLCh* name, const xercesc::Attributes& attributes) {
  latin1_.clear();
  textEnds_.clear();
  appendTerminated(latin1_, name);
  textEnds_.push_back(latin1_.size());
  for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
    appendTerminated(latin1_, attributes.getQName(i));
    textEnds_.push_back(latin1_.size());
    appendTerminated(latin1_, attributes.getValue(i));
    textEnds_.push_back(latin1_.size());
  }
  const std::string_view all = latin1_;
  const auto text = [&](std::size_t i) { return all.substr(textEnds_[i - 1], textEnds_[i] - textEnds_[i - 1]); };
  attributes_.clear();
  for (std::size_t i = 1; i + 1 < textEnds_.size(); i += 2) attributes_.push_back({text(i), text(i + 1)});
  return all.substr(0, textEnds_[0]);
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
  latin1_.clear();
  appendLatin1(latin1_, text_.data(), text_.size());
  text_.clear();
  document_.addLeaf(*open_.back(), DefinitionNode::Kind::Text, latin1_);
}

void DocumentBuilder::addLeaf(DefinitionNode::Kind kind, const XMLCh* chars, XMLSize_t length) {
  if (!building()) return;
  endText();
  latin1_.clear();
  appendLatin1(latin1_, chars, length);
  document_.addLeaf(*open_.back(), kind, latin1_);
}
