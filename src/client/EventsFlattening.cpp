// EventsFlattening: a SAX reading of the events document, one record out per
// "char" element, or per event element without any.
#include "client/EventsFlattening.h"

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLString.hpp>

using namespace xercesc;

namespace {

std::string utf8(const XMLCh* text, XMLSize_t length) {
  TranscodeToStr bytes(text, length, "UTF-8");
  return std::string(reinterpret_cast<const char*>(bytes.str()), bytes.length());
}

std::string utf8(const XMLCh* text) { return text == nullptr ? std::string() : utf8(text, XMLString::stringLen(text)); }

// The element levels of an events document.
constexpr int kRootLevel = 1;
constexpr int kEventLevel = 2;
constexpr int kCharLevel = 3;

}  // namespace

class EventsFlattener::Handler final : public DefaultHandler {
 public:
  void start(int step, const std::function<void(const EventRecord&)>& emit) {
    emit_ = &emit;
    record_ = EventRecord{};
    record_.step = step;
    level_ = 0;
    fault_.clear();
  }
  const std::string& fault() const { return fault_; }

  void startElement(const XMLCh*, const XMLCh* localName, const XMLCh*, const Attributes& attributes) override {
    ++level_;
    const std::string name = utf8(localName);
    if (level_ == kRootLevel && name != "events") fail("the root element is " + name + ", not events");
    if (level_ == kEventLevel) startEvent(name, attributes);
    if (level_ == kCharLevel) startChar(attributes);
  }

  void characters(const XMLCh* text, const XMLSize_t length) override {
    if (level_ == kCharLevel) value_ += utf8(text, length);
  }

  void endElement(const XMLCh*, const XMLCh*, const XMLCh*) override {
    if (level_ == kCharLevel) emit();
    if (level_ == kEventLevel && !emittedChar_) {
      record_.hasCharacteristic = false;
      emit();
    }
    --level_;
  }

  void fatalError(const SAXParseException& e) override {
    fail("line " + std::to_string(e.getLineNumber()) + ": " + utf8(e.getMessage()));
    throw e;
  }

 private:
  void fail(const std::string& why) {
    if (fault_.empty()) fault_ = why;
  }

  // A merge names the token merged away "oldtoken" and the kept one "newtoken".
  void startEvent(const std::string& name, const Attributes& attributes) {
    event_ = name;
    const bool merge = name == "merge";
    token_ = utf8(attributes.getValue(merge ? u"oldtoken" : u"token"));
    place_ = utf8(attributes.getValue(u"place"));
    into_ = merge ? utf8(attributes.getValue(u"newtoken")) : std::string();
    record_.hasInto = merge;
    name_.clear();
    type_.clear();
    value_.clear();
    emittedChar_ = false;
  }

  void startChar(const Attributes& attributes) {
    name_ = utf8(attributes.getValue(u"name"));
    type_ = utf8(attributes.getValue(u"type"));
    value_.clear();
    record_.hasCharacteristic = true;
    emittedChar_ = true;
  }

  void emit() {
    if (!fault_.empty()) return;
    record_.event = event_;
    record_.token = token_;
    record_.place = place_;
    record_.into = into_;
    record_.characteristic = name_;
    record_.type = type_;
    record_.value = value_;
    (*emit_)(record_);
  }

  const std::function<void(const EventRecord&)>* emit_ = nullptr;
  EventRecord record_;
  int level_ = 0;
  bool emittedChar_ = false;
  std::string event_, token_, place_, into_, name_, type_, value_;
  std::string fault_;
};

EventsFlattener::EventsFlattener()
    : handler_(std::make_unique<Handler>()), reader_(XMLReaderFactory::createXMLReader()) {
  reader_->setContentHandler(handler_.get());
  reader_->setErrorHandler(handler_.get());
}

EventsFlattener::~EventsFlattener() = default;

bool EventsFlattener::flatten(std::string_view document, int step, const std::function<void(const EventRecord&)>& emit,
                              std::string& error) {
  handler_->start(step, emit);
  MemBufInputSource source(reinterpret_cast<const XMLByte*>(document.data()), document.size(), "events");
  try {
    reader_->parse(source);
  } catch (const SAXParseException&) {
    // fatalError noted it.
  } catch (const XMLException& e) {
    error = "unreadable events document: " + utf8(e.getMessage());
    return false;
  }
  if (handler_->fault().empty()) return true;
  error = "unreadable events document: " + handler_->fault();
  return false;
}
