// EventsDocument: the streaming events writer and its escaping.
#include "server/EventsDocument.h"

#include <cassert>

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";

// The replacement of one byte, or empty when it is written as it is.
std::string_view escapeOf(char c, bool inAttribute) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\r':
      return "&#13;";
    case '\n':
      return inAttribute ? "&#10;" : std::string_view();
    case '\t':
      return inAttribute ? "&#9;" : std::string_view();
    default:
      return static_cast<unsigned char>(c) < 0x20 ? "?" : std::string_view();
  }
}

void appendAttributes(std::string& out, std::initializer_list<EventsDocument::Attribute> attributes) {
  for (const auto& [name, value] : attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    appendEscaped(out, value, true);
    out += '"';
  }
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text, bool inAttribute) {
  std::size_t plain = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    std::string_view replacement = escapeOf(text[at], inAttribute);
    if (replacement.empty()) continue;
    out.append(text.data() + plain, at - plain);
    out += replacement;
    plain = at + 1;
  }
  out.append(text.data() + plain, text.size() - plain);
}

void EventsDocument::reset() {
  text_.assign(kDeclaration);
  closingLength_ = 0;
  open_ = true;
  hasEvents_ = false;
  eventOpen_ = false;
}

void EventsDocument::dropClosing() {
  text_.resize(text_.size() - closingLength_);
  closingLength_ = 0;
}

void EventsDocument::openEvent(std::string_view element, std::initializer_list<Attribute> attributes) {
  assert(open_ && !eventOpen_);
  dropClosing();
  if (!hasEvents_) text_ += "<events>\n";
  hasEvents_ = true;
  text_ += "  <";
  text_ += element;
  appendAttributes(text_, attributes);
  openElement_ = element;
  eventOpen_ = true;
  eventHasChildren_ = false;
}

void EventsDocument::addChar(std::string_view name, std::string_view type, std::string_view text) {
  assert(eventOpen_);
  if (!eventHasChildren_) text_ += ">\n";
  eventHasChildren_ = true;
  text_ += "    <char";
  appendAttributes(text_, {{"name", name}, {"type", type}});
  text_ += '>';
  appendEscaped(text_, text, false);
  text_ += "</char>\n";
}

void EventsDocument::closeEvent() {
  assert(eventOpen_);
  if (eventHasChildren_) {
    text_ += "  </";
    text_ += openElement_;
    text_ += ">\n";
  } else {
    text_ += "/>\n";
  }
  eventOpen_ = false;
}

std::string_view EventsDocument::finish() {
  assert(open_ && !eventOpen_);
  dropClosing();
  std::string_view closing = hasEvents_ ? "</events>\n" : "<events/>\n";
  text_ += closing;
  closingLength_ = closing.size();
  return text_;
}
