// Parse-back of documents with Xerces into XmlElement trees.
#include "XmlParseBack.h"

#include <memory>
#include <mutex>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>

using namespace xercesc;

namespace {

std::string latin1(const XMLCh* text) {
  TranscodeToStr bytes(text, "ISO-8859-1");
  return std::string(reinterpret_cast<const char*>(bytes.str()), bytes.length());
}

class CollectingHandler final : public HandlerBase {
 public:
  void error(const SAXParseException& e) override { note(e); }
  void fatalError(const SAXParseException& e) override { note(e); }
  std::string messages;

 private:
  void note(const SAXParseException& e) {
    messages += "line " + std::to_string(e.getLineNumber()) + ": " + latin1(e.getMessage()) + "\n";
  }
};

XmlElement convert(const DOMElement& element) {
  XmlElement result;
  result.name = latin1(element.getTagName());
  const DOMNamedNodeMap* attributes = element.getAttributes();
  for (XMLSize_t i = 0; i < attributes->getLength(); ++i) {
    const DOMNode* attribute = attributes->item(i);
    result.attributes.emplace_back(latin1(attribute->getNodeName()), latin1(attribute->getNodeValue()));
  }
  for (const DOMNode* child = element.getFirstChild(); child != nullptr; child = child->getNextSibling()) {
    if (child->getNodeType() == DOMNode::ELEMENT_NODE) {
      result.children.push_back(convert(static_cast<const DOMElement&>(*child)));
    } else if (child->getNodeType() == DOMNode::TEXT_NODE) {
      result.text += latin1(child->getNodeValue());
    }
  }
  return result;
}

}  // namespace

std::optional<XmlElement> parseXml(std::string_view document, std::string& error) {
  static std::once_flag started;
  std::call_once(started, [] { XMLPlatformUtils::Initialize(); });
  XercesDOMParser parser;
  CollectingHandler handler;
  parser.setErrorHandler(&handler);
  MemBufInputSource source(reinterpret_cast<const XMLByte*>(document.data()), document.size(), "events");
  parser.parse(source);
  if (!handler.messages.empty() || parser.getDocument() == nullptr ||
      parser.getDocument()->getDocumentElement() == nullptr) {
    error = handler.messages.empty() ? "no document element" : handler.messages;
    return std::nullopt;
  }
  return convert(*parser.getDocument()->getDocumentElement());
}
