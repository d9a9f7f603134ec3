// Text fields of the output formats: CSV fields (RFC 4180), JSON strings,
// numbers that read back exactly, and UTF-8 from the system's 8-bit text.
// Thread rule: pure functions, callable from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Appends `field` to `out`, in double quotes (inner quotes doubled) when it
// holds a comma, a double quote, a carriage return or a line feed.
void appendCsvField(std::string& out, std::string_view field);
// Appends `text` as a JSON string, quotes included: the quote, the backslash
// and control characters escaped; other bytes (UTF-8) as they are.
void appendJsonString(std::string& out, std::string_view text);
// Appends the shortest decimal text that reads back as exactly `value`.
void appendExactNumber(std::string& out, double value);
// The number `text` holds, whole; none for anything else (blanks included).
std::optional<double> parseNumber(std::string_view text);
// UTF-8 of ISO-8859-1 text: bytes 128-255 become two bytes each.
std::string utf8FromLatin1(std::string_view text);
// The number of characters of UTF-8 text.
std::size_t utf8Length(std::string_view text);
