// Text forms of values: writeText and writeLiteral on streams, and the
// stream-free textOf/appendText used on hot paths (events, string building).
#include "lang/Value.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace {

// Room for any number in the six-significant-digit general form ("-1.23457e+308").
constexpr std::size_t kNumberTextCapacity = 32;

// Whole numbers of this size or more need the exponent form with six significant digits.
constexpr double kWholeDigitsLimit = 1e6;

// A whole number of fewer than seven digits (not -0) in %g's form: its plain
// digits. Most numbers nets print are such (counts, ids, steps); the integer
// conversion costs a fraction of the general one.
bool isPlainWhole(double number) {
  return number > -kWholeDigitsLimit && number < kWholeDigitsLimit &&
         number == static_cast<double>(static_cast<int>(number)) && !(number == 0 && std::signbit(number));
}

// The default floating-point form of a stream: six significant digits, fixed
// or exponent notation, whichever %g picks, without trailing zeros.
std::string_view numberText(double number, char (&buffer)[kNumberTextCapacity]) {
  if (isPlainWhole(number)) {
    char* end = std::to_chars(buffer, buffer + kNumberTextCapacity, static_cast<int>(number)).ptr;
    return std::string_view(buffer, static_cast<std::size_t>(end - buffer));
  }
  auto [end, error] = std::to_chars(buffer, buffer + kNumberTextCapacity, number, std::chars_format::general, 6);
  if (error != std::errc()) return "?";
  return std::string_view(buffer, static_cast<std::size_t>(end - buffer));
}

void appendLiteral(std::string& out, const CTypedValue& value);

void appendElements(std::string& out, const CVectorValue& vector) {
  if (vector.count() == 0) {
    out += "[empty]";
    return;
  }
  for (int i = 0; i < vector.count(); ++i) {
    if (i > 0) out += ' ';
    if (const CTypedValue* element = vector.elementAt(i)) appendLiteral(out, *element);
  }
}

void appendLiteral(std::string& out, const CTypedValue& value) {
  if (const CStringValue* text = asString(&value)) {
    out += '"';
    out += text->text();
    out += '"';
  } else if (const CVectorValue* vector = asVector(&value)) {
    out += '[';
    appendElements(out, *vector);
    out += ']';
  } else {
    appendText(out, value);
  }
}

}  // namespace

std::ostream& CDoubleValue::writeText(std::ostream& out) const {
  char buffer[kNumberTextCapacity];
  std::string_view text = numberText(number_, buffer);
  return out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::ostream& CDoubleValue::writeLiteral(std::ostream& out) const { return writeText(out); }

std::ostream& CStringValue::writeText(std::ostream& out) const {
  return out.write(text_.data(), static_cast<std::streamsize>(text_.size()));
}

std::ostream& CStringValue::writeLiteral(std::ostream& out) const { return out << '"' << text_ << '"'; }

std::ostream& CVectorValue::writeText(std::ostream& out) const {
  std::string text;
  appendElements(text, *this);
  return out << text;
}

std::ostream& CVectorValue::writeLiteral(std::ostream& out) const { return out << '[' << textOf(*this) << ']'; }

std::ostream& CObjectValue::writeText(std::ostream& out) const { return out << static_cast<const void*>(target_); }

std::ostream& CObjectValue::writeLiteral(std::ostream& out) const { return writeText(out); }

std::string textOf(const CTypedValue& value) {
  std::string text;
  appendText(text, value);
  return text;
}

void appendText(std::string& out, const CTypedValue& value) {
  if (const CDoubleValue* number = asNumber(&value)) {
    char buffer[kNumberTextCapacity];
    out += numberText(number->number(), buffer);
  } else if (const CStringValue* text = asString(&value)) {
    out += text->text();
  } else if (const CVectorValue* vector = asVector(&value)) {
    appendElements(out, *vector);
  } else {
    // Object values print their target's address in the stream's pointer form.
    std::ostringstream stream;
    value.writeText(stream);
    out += stream.str();
  }
}
