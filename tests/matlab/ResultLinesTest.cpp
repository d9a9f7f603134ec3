// Result lines read back into values, and the shape of a call's result.
#include "matlab/ResultLines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// A compact text of a value for comparisons: numbers with %g, strings in
// double quotes, vectors in braces.
std::string shape(const CTypedValue* value) {
  if (const CDoubleValue* number = asNumber(value)) {
    std::ostringstream out;
    out << number->number();
    return out.str();
  }
  if (const CStringValue* text = asString(value)) return "\"" + text->text() + "\"";
  const CVectorValue* vector = asVector(value);
  if (vector == nullptr) return "?";
  std::string out = "{";
  for (int i = 0; i < vector->count(); ++i) out += (i ? " " : "") + shape(vector->elementAt(i));
  return out + "}";
}

TEST(ResultValue, EachKindOfLine) {
  struct Row {
    const char* line;
    const char* expected;
  };
  const Row rows[] = {
      {"4", "4"},
      {"-2.5", "-2.5"},
      {"1e3x", "1000"},
      {"true", "0"},
      {"", "0"},
      {"'ok'", "\"ok\""},
      {"'it's'", "\"it's\""},
      {"''", "\"\""},
      {"'", "\"\""},
      {"[1 2.5 3]", "{1 2.5 3}"},
      {"[1,2]", "{1 2}"},
      {"[]", "{}"},
      {"[1 2;3 4]", "{{1 2} {3 4}}"},
      {"[1;2]", "{{1} {2}}"},
      {"[Inf -Inf]", "{inf -inf}"},
  };
  for (const auto& row : rows) EXPECT_EQ(shape(resultValue(row.line).get()), row.expected) << row.line;
}

TEST(ReadResults, OneOutputIsTheValueOtherwiseAVector) {
  struct Row {
    const char* text;
    const char* expected;
  };
  const Row rows[] = {
      {"4\n", "4"},
      {"'ok'\n", "\"ok\""},
      {"[1 2]\n", "{1 2}"},
      {"1\n2\n", "{1 2}"},
      {"1\r\n'a'\r\n", "{1 \"a\"}"},
      {"", "{}"},
  };
  for (const auto& row : rows) {
    std::istringstream in(row.text);
    EXPECT_EQ(shape(readResults(in).get()), row.expected) << row.text;
  }
}

TEST(ReadResults, StopsAtTheLineLimit) {
  std::string text;
  for (int i = 0; i < kMaxResultLines + 10; ++i) text += std::to_string(i) + "\n";
  std::istringstream in(text);
  ValuePtr result = readResults(in);
  const CVectorValue* outputs = asVector(result.get());
  ASSERT_NE(outputs, nullptr);
  ASSERT_EQ(outputs->count(), kMaxResultLines);
  EXPECT_EQ(asNumber(outputs->elementAt(kMaxResultLines - 1))->number(), kMaxResultLines - 1);
}

// A result file can hold anything the called function wrote.
TEST(ReadResults, ResultsPastTheLimitsOfAValueGiveNull) {
  struct Row {
    const char* name;
    std::string text;
  };
  const std::string half = "'" + std::string(kMaxValueSize / 2, 'a') + "'\n";
  const Row rows[] = {
      {"two strings together too large", half + half},
      {"a line longer than any value", std::string(kMaxValueSize + 1, '7')},
  };
  for (const Row& row : rows) {
    std::istringstream in(row.text);
    EXPECT_EQ(readResults(in), nullptr) << row.name;
  }
}

TEST(ReadResults, AMissingFileGivesAnEmptyVector) {
  std::ifstream missing("/nonexistent/GNVanterMatlabResult1.tmp");
  EXPECT_EQ(shape(readResults(missing).get()), "{}");
}

}  // namespace
