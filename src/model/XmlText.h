// Conversions between the XML library's UTF-16 text and the 8-bit ISO-8859-1
// text used everywhere else in the system.
// Thread rule: pure functions, callable from any thread.
#pragma once

#include <string>
#include <string_view>

#include <xercesc/util/XercesDefs.hpp>

using XmlString = std::basic_string<XMLCh>;

// ISO-8859-1 text of `text` (null gives ""); a character outside ISO-8859-1,
// a surrogate pair included, becomes one '?'.
std::string toLatin1(const XMLCh* text);
// Appends the ISO-8859-1 text of `length` characters at `text` to `out`, as toLatin1 does.
void appendLatin1(std::string& out, const XMLCh* text, std::size_t length);
// Writes that text to `out`, which has room for `length` characters (one per
// code unit at most); the number of characters written.
std::size_t writeLatin1(char* out, const XMLCh* text, std::size_t length);
// UTF-16 text of 8-bit ISO-8859-1 text.
XmlString fromLatin1(std::string_view text);
