// MATLAB expressions of GNVCFL values for the arguments file.
#include "matlab/ArgumentLines.h"

#include "lang/Value.h"

#include <cstdio>

namespace {

// "%f" of the largest double needs 317 characters.
constexpr std::size_t kNumberText = 400;

void appendNumber(std::string& line, double number) {
  char text[kNumberText];
  int length = std::snprintf(text, sizeof text, "%f", number);
  if (length > 0) line.append(text, static_cast<std::size_t>(length));
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

// Appends 'text' with quotes doubled.
void appendQuoted(std::string& line, std::string_view text) {
  line += '\'';
  for (char c : text) {
    line += c;
    if (c == '\'') line += '\'';
  }
  line += '\'';
}

void appendString(std::string& line, const std::string& text) {
  bool plain = true;
  for (char c : text) plain = plain && !isControl(static_cast<unsigned char>(c));
  if (plain) return appendQuoted(line, text);
  line += '[';
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !isControl(static_cast<unsigned char>(text[i]))) continue;
    if (i > start) appendQuoted(line, std::string_view(text).substr(start, i - start));
    if (i < text.size()) line += " char(" + std::to_string(static_cast<unsigned char>(text[i])) + ") ";
    start = i + 1;
  }
  line += ']';
}

// The numbers of `row`, each in "%f" form and a space.
void appendRowNumbers(std::string& line, const CVectorValue& row) {
  for (int i = 0; i < row.count(); ++i) {
    if (const CDoubleValue* number = asNumber(row.elementAt(i))) {
      appendNumber(line, number->number());
      line += ' ';
    }
  }
}

void appendVector(std::string& line, const CVectorValue& vector) {
  line += '[';
  for (int i = 0; i < vector.count(); ++i) {
    const CTypedValue* element = vector.elementAt(i);
    if (const CDoubleValue* number = asNumber(element)) {
      appendNumber(line, number->number());
      line += ' ';
    } else if (const CVectorValue* row = asVector(element)) {
      appendRowNumbers(line, *row);
      if (i + 1 < vector.count()) line += "; ";
    }
  }
  line += ']';
}

}  // namespace

bool appendArgumentExpression(std::string& line, const CTypedValue* value) {
  if (const CDoubleValue* number = asNumber(value)) {
    appendNumber(line, number->number());
  } else if (const CStringValue* text = asString(value)) {
    appendString(line, text->text());
  } else if (const CVectorValue* vector = asVector(value)) {
    appendVector(line, *vector);
  } else {
    return false;
  }
  return true;
}
