// EventsDocument: the streaming events writer and its escaping.
#include "server/EventsDocument.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";

// The replacement of one byte, or empty when it is written as it is.
constexpr std::string_view escapeOf(char c, bool inAttribute) {
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

// Which bytes escapeOf replaces, so that the scan of a text tests one table entry per byte.
using ByteSet = std::array<bool, 256>;
constexpr ByteSet escapedBytes(bool inAttribute) {
  ByteSet escaped{};
  for (int c = 0; c < 256; ++c) escaped[static_cast<std::size_t>(c)] = !escapeOf(static_cast<char>(c), inAttribute).empty();
  return escaped;
}
constexpr ByteSet kEscapedInText = escapedBytes(false);
constexpr ByteSet kEscapedInAttribute = escapedBytes(true);

constexpr std::size_t longestEscape() {
  std::size_t longest = 1;
  for (int c = 0; c < 256; ++c) {
    for (bool inAttribute : {false, true}) longest = std::max(longest, escapeOf(static_cast<char>(c), inAttribute).size());
  }
  return longest;
}
// What one byte may become, and the most text escaped in one go, so that a
// long text asks for room piece by piece.
constexpr std::size_t kLongestEscape = longestEscape();
constexpr std::size_t kEscapePiece = 4096;

// Appends `text` escaped for XML: & < > " as entities, tab, line feed and
// carriage return as character references when `inAttribute` (so they survive
// attribute normalisation; a carriage return always), other control bytes as
// '?'. Bytes 128-255 stay: the document is ISO-8859-1.
void appendEscaped(TextBuffer& out, std::string_view text, bool inAttribute) {
  const ByteSet& escaped = inAttribute ? kEscapedInAttribute : kEscapedInText;
  for (std::size_t at = 0; at < text.size(); at += kEscapePiece) {
    const std::string_view piece = text.substr(at, kEscapePiece);
    out.appendWith(piece.size() * kLongestEscape, [&](char* to) {
      char* const start = to;
      for (char c : piece) {
        if (!escaped[static_cast<unsigned char>(c)]) {
          *to++ = c;
          continue;
        }
        const std::string_view replacement = escapeOf(c, inAttribute);
        std::memcpy(to, replacement.data(), replacement.size());
        to += replacement.size();
      }
      return static_cast<std::size_t>(to - start);
    });
  }
}

void appendAttributes(TextBuffer& out, std::initializer_list<EventsDocument::Attribute> attributes) {
  for (const auto& [name, value] : attributes) {
    out.append(' ');
    out.append(name);
    out.append("=\"");
    appendEscaped(out, value, true);
    out.append('"');
  }
}

}  // namespace

void EventsDocument::reset() {
  text_.truncate(0);
  text_.append(kDeclaration);
  closingLength_ = 0;
  open_ = true;
  hasEvents_ = false;
  eventOpen_ = false;
}

void EventsDocument::dropClosing() {
  text_.truncate(text_.size() - closingLength_);
  closingLength_ = 0;
}

void EventsDocument::openEvent(std::string_view element, std::initializer_list<Attribute> attributes) {
  assert(open_ && !eventOpen_);
  dropClosing();
  if (!hasEvents_) text_.append("<events>\n");
  hasEvents_ = true;
  text_.append("  <");
  text_.append(element);
  appendAttributes(text_, attributes);
  openElement_ = element;
  eventOpen_ = true;
  eventHasChildren_ = false;
}

void EventsDocument::addChar(std::string_view name, std::string_view type, std::string_view text) {
  assert(eventOpen_);
  if (!eventHasChildren_) text_.append(">\n");
  eventHasChildren_ = true;
  text_.append("    <char");
  appendAttributes(text_, {{"name", name}, {"type", type}});
  text_.append('>');
  appendEscaped(text_, text, false);
  text_.append("</char>\n");
}

void EventsDocument::closeEvent() {
  assert(eventOpen_);
  if (eventHasChildren_) {
    text_.append("  </");
    text_.append(openElement_);
    text_.append(">\n");
  } else {
    text_.append("/>\n");
  }
  eventOpen_ = false;
}

std::string_view EventsDocument::finish() {
  assert(open_ && !eventOpen_);
  dropClosing();
  std::string_view closing = hasEvents_ ? "</events>\n" : "<events/>\n";
  text_.append(closing);
  closingLength_ = closing.size();
  return text_.view();
}
