// The argument lines a MATLAB call writes for each kind of value.
#include "lang/Value.h"
#include "matlab/ArgumentLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ValuePtr number(double value) { return std::make_unique<CDoubleValue>(value); }
ValuePtr text(std::string value) { return std::make_unique<CStringValue>(std::move(value)); }
ValuePtr vector(std::vector<ValuePtr> elements) {
  auto result = std::make_unique<CVectorValue>(0);
  for (auto& element : elements) result->append(std::move(element));
  return result;
}
ValuePtr numbers(std::initializer_list<double> values) {
  std::vector<ValuePtr> elements;
  for (double value : values) elements.push_back(number(value));
  return vector(std::move(elements));
}
std::vector<ValuePtr> list(ValuePtr a, ValuePtr b) {
  std::vector<ValuePtr> elements;
  elements.push_back(std::move(a));
  elements.push_back(std::move(b));
  return elements;
}

std::string expressionOf(const CTypedValue* value) {
  std::string line;
  EXPECT_TRUE(appendArgumentExpression(line, value));
  return line;
}

TEST(ArgumentLines, NumbersAndStrings) {
  struct Row {
    const char* name;
    ValuePtr value;
    const char* expected;
  };
  Row rows[] = {
      {"whole number", number(2), "2.000000"},
      {"negative fraction", number(-0.5), "-0.500000"},
      {"rounded to six places", number(1.0 / 3), "0.333333"},
      {"plain string", text("ok"), "'ok'"},
      {"empty string", text(""), "''"},
      {"quote doubled", text("it's"), "'it''s'"},
      {"line feed kept in one line", text("a\nb"), "['a' char(10) 'b']"},
      {"leading control character", text("\tx"), "[ char(9) 'x']"},
  };
  for (const auto& row : rows) EXPECT_EQ(expressionOf(row.value.get()), row.expected) << row.name;
}

TEST(ArgumentLines, VectorsGiveRowsAndMatrices) {
  struct Row {
    const char* name;
    ValuePtr value;
    const char* expected;
  };
  Row rows[] = {
      {"row of numbers", numbers({1, 2, 3}), "[1.000000 2.000000 3.000000 ]"},
      {"empty vector", numbers({}), "[]"},
      {"matrix of two rows", vector(list(numbers({1, 2}), numbers({3, 4}))), "[1.000000 2.000000 ; 3.000000 4.000000 ]"},
      {"number then row", vector(list(number(1), numbers({2, 3}))), "[1.000000 2.000000 3.000000 ]"},
      {"strings inside are left out", vector(list(text("x"), number(5))), "[5.000000 ]"},
      {"deeper vectors are left out", vector(list(vector(list(numbers({9}), number(7))), number(1))), "[7.000000 ; 1.000000 ]"},
  };
  for (const auto& row : rows) EXPECT_EQ(expressionOf(row.value.get()), row.expected) << row.name;
}

TEST(ArgumentLines, ObjectsAndMissingValuesAreRefused) {
  CObjectValue object;
  std::string line;
  EXPECT_FALSE(appendArgumentExpression(line, &object));
  EXPECT_FALSE(appendArgumentExpression(line, nullptr));
}

}  // namespace
