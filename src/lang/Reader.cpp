// Tokens, comments, list counting and literal values of GNVCFL source, and
// the vector text form (with its "nx" shorthand) built on the same tokens.
#include "lang/Reader.h"

#include <charconv>

namespace {

bool isWhitespace(int c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

bool isAtomDelimiter(int c) { return isWhitespace(c) || c == '(' || c == ')'; }

// Appends `c` unless the token would exceed `limit`; then fails the stream.
bool appendLimited(CSourceStream& in, std::string& token, int c, std::size_t limit) {
  if (token.size() >= limit) {
    in.fail(CSourceStream::Failure::TokenTooLong);
    return false;
  }
  token += static_cast<char>(c);
  return true;
}

// A quoted or bracketed token after its opening character. The closing test
// comes first, so a second double quote always ends a quoted token.
bool readEnclosed(CSourceStream& in, std::string& token, char open, char close, std::size_t limit) {
  int depth = 1;
  while (depth > 0) {
    int c = in.get();
    if (c == CSourceStream::kEnd) return false;
    if (c == static_cast<unsigned char>(close)) {
      --depth;
    } else if (c == static_cast<unsigned char>(open)) {
      ++depth;
    }
    if (!appendLimited(in, token, c, limit)) return false;
  }
  return true;
}

bool readAtom(CSourceStream& in, std::string& token, std::size_t limit) {
  while (in.peek() != CSourceStream::kEnd && !isAtomDelimiter(in.peek())) {
    if (!appendLimited(in, token, in.get(), limit)) return false;
  }
  return true;
}

ValuePtr literalValueAt(std::string_view token, int depth);

// Numbers are read without the C library's locale: a desktop front end may
// switch LC_NUMERIC to a locale whose decimal point is not ".".
template <typename Number>
bool readNumber(std::string_view& text, Number* number) {
  while (!text.empty() && isWhitespace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  if (text.starts_with('+')) text.remove_prefix(1);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *number);
  if (error != std::errc()) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

// Takes the next word (a run without whitespace) off the front of `rest`; false at its end.
bool takeWord(std::string_view& rest, std::string_view& word) {
  while (!rest.empty() && isWhitespace(static_cast<unsigned char>(rest.front()))) rest.remove_prefix(1);
  if (rest.empty()) return false;
  std::size_t end = 1;
  while (end < rest.size() && !isWhitespace(static_cast<unsigned char>(rest[end]))) ++end;
  word = rest.substr(0, end);
  rest.remove_prefix(end);
  return true;
}

// The usual vector text, numbers alone ("1 2.5 -3"), read straight from the
// text: such words are exactly the tokens the token reader would find. Null
// when any word is not a number or there are too many; the token reader then
// takes the text.
std::unique_ptr<CVectorValue> vectorFromNumbers(std::string_view text) {
  int count = 0;
  std::string_view rest = text;
  std::string_view word;
  while (takeWord(rest, word)) {
    if (!isNumeric(word) || ++count > CVectorValue::kMaxCount) return nullptr;
  }
  auto vector = std::make_unique<CVectorValue>(count);
  rest = text;
  for (int i = 0; takeWord(rest, word); ++i) {
    double number = 0.0;  // "-" and "." alone read as 0
    readNumber(word, &number);
    ValuePtr element = std::make_unique<CDoubleValue>(number);
    vector->adoptNth(i, element);
  }
  return vector;
}

// The vector text form: its items converted one by one with literalValue.
// `depth` is the vector's own nesting, checked before its items are read.
std::unique_ptr<CVectorValue> vectorFromItems(std::string_view text, int depth) {
  if (depth > kMaxVectorDepth) return nullptr;
  if (auto numbers = vectorFromNumbers(text)) return numbers;
  auto vector = std::make_unique<CVectorValue>(0);
  CSourceStream in{std::string(text)};
  std::string token;
  while (readToken(in, token, text.size())) {
    ValuePtr item = literalValueAt(token, depth);
    if (!item || !vector->append(std::move(item))) return nullptr;
  }
  return vector;
}

// "nx<count> <number>": count copies of the number; malformed or negative
// gives an empty vector, a count past the limits of a value null.
std::unique_ptr<CVectorValue> vectorFromShorthand(std::string_view text) {
  std::string_view rest = text.substr(2);
  long long count = 0;
  double number = 0.0;
  if (!readNumber(rest, &count) || !readNumber(rest, &number) || count < 0) return std::make_unique<CVectorValue>(0);
  if (count > CVectorValue::kMaxCount) return nullptr;
  auto vector = std::make_unique<CVectorValue>(static_cast<int>(count));
  for (int i = 0; i < count; ++i) {
    ValuePtr element = std::make_unique<CDoubleValue>(number);
    vector->adoptNth(i, element);
  }
  return vector;
}

std::unique_ptr<CVectorValue> vectorFromText(std::string_view text, int depth) {
  if (text.starts_with("nx")) return vectorFromShorthand(text);
  return vectorFromItems(text, depth);
}

ValuePtr literalValueAt(std::string_view token, int depth) {
  if (isNumeric(token)) {
    double number = 0.0;  // "-" and "." alone read as 0
    readNumber(token, &number);
    return std::make_unique<CDoubleValue>(number);
  }
  if (isStringLiteral(token) && token.size() >= 2) {
    return std::make_unique<CStringValue>(std::string(token.substr(1, token.size() - 2)));
  }
  if (isVectorLiteral(token) && token.size() >= 2) return vectorFromText(token.substr(1, token.size() - 2), depth + 1);
  return std::make_unique<CStringValue>(std::string(token));
}

}  // namespace

void skipWhitespace(CSourceStream& in) {
  while (isWhitespace(in.peek())) in.get();
}

void CSourceStream::skipLine() {
  int c = get();
  while (c != kEnd && c != '\n') c = get();
}

bool readToken(CSourceStream& in, std::string& token, std::size_t limit) {
  token.clear();
  skipWhitespace(in);
  while (in.peek() == ';') {
    in.skipLine();  // comments are skipped without being stored
    skipWhitespace(in);
  }
  int c = in.get();
  if (c == CSourceStream::kEnd) return false;
  token += static_cast<char>(c);
  if (c == '(' || c == ')') return true;
  if (c == '"') return readEnclosed(in, token, '"', '"', limit);
  if (c == '[') return readEnclosed(in, token, '[', ']', limit);
  return readAtom(in, token, limit);
}

bool peekToken(CSourceStream& in, std::string& token, std::size_t limit) {
  std::size_t position = in.position();
  bool found = readToken(in, token, limit);
  in.setPosition(position);
  return found;
}

int countItems(CSourceStream& in, bool restore) {
  std::size_t position = in.position();
  int depth = 1;
  int count = 0;
  std::string token;
  while (depth > 0 && readToken(in, token)) {
    if (token[0] == '(') ++depth;
    if (token[0] == ')') --depth;
    if (depth == 1) ++count;
  }
  if (restore) in.setPosition(position);
  return depth == 0 ? count : -1;
}

bool isNumeric(std::string_view text) {
  if (text.empty()) return false;
  if (text.front() == '-') text.remove_prefix(1);
  int points = 0;
  for (char c : text) {
    if (c == '.') {
      if (++points > 1) return false;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

bool isStringLiteral(std::string_view text) { return !text.empty() && text.front() == '"' && text.back() == '"'; }

bool isVectorLiteral(std::string_view text) { return !text.empty() && text.front() == '[' && text.back() == ']'; }

ValuePtr literalValue(std::string_view token) { return literalValueAt(token, 0); }

std::unique_ptr<CVectorValue> CVectorValue::fromText(std::string_view text) { return vectorFromText(text, 1); }
