// The GNVCFL reader: splits source text into tokens (parentheses, quoted
// texts, bracketed vectors, atoms), skips comments, counts list items and
// turns literal tokens into values. It writes no messages: callers turn a
// false result or a failed stream into their syntax errors.
#pragma once

#include "lang/SourceStream.h"
#include "lang/Value.h"

#include <cstddef>
#include <string>
#include <string_view>

// Tokens inside a definition have at most this many characters (the parser's
// 200-byte buffers); a longer one fails the stream with TokenTooLong.
constexpr std::size_t kMaxTokenLength = 199;
// A function's frame token (quotes included) has at most this many characters.
constexpr std::size_t kMaxFrameTokenLength = 499;

// Consumes space, line feed, carriage return and tab.
void skipWhitespace(CSourceStream& in);
// Reads the next token into `token` (replacing its text), skipping whitespace
// and comments. False when no token is left: end of text, an unterminated
// quoted or bracketed token, a failed stream, or a token longer than `limit`
// (which also fails the stream with TokenTooLong).
bool readToken(CSourceStream& in, std::string& token, std::size_t limit = kMaxTokenLength);
// readToken, then the read position is restored.
bool peekToken(CSourceStream& in, std::string& token, std::size_t limit = kMaxTokenLength);
// Counts the items of a list whose "(" was consumed; a nested list counts
// once. -1 when the input ends inside the list. With `restore` the position
// is restored, else the stream is left after the list's ")".
int countItems(CSourceStream& in, bool restore);

// Optional "-", then digits with at most one "."; "-" and "." alone count.
bool isNumeric(std::string_view text);
bool isStringLiteral(std::string_view text);
bool isVectorLiteral(std::string_view text);
// A number, a string between quotes, a vector between brackets, or else the
// token itself as a string. Caller owns the result; null when it would pass
// the limits of a value (a vector's "nx" count, or vectors nested too deep).
ValuePtr literalValue(std::string_view token);
