// Conversions between the XML library's UTF-16 text and ISO-8859-1 text.
#include "model/XmlText.h"

namespace {

constexpr char16_t kLastLatin1 = 0xFF;
constexpr char16_t kHighSurrogateFirst = 0xD800;
constexpr char16_t kHighSurrogateLast = 0xDBFF;
constexpr char16_t kLowSurrogateFirst = 0xDC00;
constexpr char16_t kLowSurrogateLast = 0xDFFF;

bool isHighSurrogate(char16_t c) { return c >= kHighSurrogateFirst && c <= kHighSurrogateLast; }
bool isLowSurrogate(char16_t c) { return c >= kLowSurrogateFirst && c <= kLowSurrogateLast; }

}  // namespace

std::string toLatin1(const XMLCh* text) {
  std::string out;
  if (text != nullptr) appendLatin1(out, text, std::char_traits<XMLCh>::length(text));
  return out;
}

void appendLatin1(std::string& out, const XMLCh* text, std::size_t length) {
  std::size_t start = out.size();
  out.resize(start + length);
  out.resize(start + writeLatin1(out.data() + start, text, length));
}

std::size_t writeLatin1(char* out, const XMLCh* text, std::size_t length) {
  char* next = out;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] <= kLastLatin1) {
      *next++ = static_cast<char>(text[i]);
      continue;
    }
    *next++ = '?';
    // A surrogate pair is one character, so it becomes one '?'.
    if (isHighSurrogate(text[i]) && i + 1 < length && isLowSurrogate(text[i + 1])) ++i;
  }
  return static_cast<std::size_t>(next - out);
}

XmlString fromLatin1(std::string_view text) {
  XmlString out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<XMLCh>(static_cast<unsigned char>(c));
  return out;
}
