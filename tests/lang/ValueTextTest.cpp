// Text forms of values: writeText, writeLiteral, textOf and appendText agree.
#include "lang/Value.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string streamText(const CTypedValue& value) {
  std::ostringstream out;
  value.writeText(out);
  return out.str();
}

std::string streamLiteral(const CTypedValue& value) {
  std::ostringstream out;
  value.writeLiteral(out);
  return out.str();
}

TEST(ValueText, NumbersUseSixSignificantDigits) {
  struct Row {
    double number;
    const char* text;
  };
  const Row rows[] = {{1.0, "1"},       {0.5, "0.5"},       {-2.25, "-2.25"},      {1234567, "1.23457e+06"},
                      {123456, "123456"}, {0.0001, "0.0001"}, {0.00001, "1e-05"},   {1.0 / 3, "0.333333"},
                      {0.0, "0"},        {1e21, "1e+21"},
                      // Whole numbers take a shorter road: its edges print as %g does.
                      {-0.0, "-0"}, {-7, "-7"}, {999999, "999999"}, {-999999, "-999999"}, {1e6, "1e+06"},
                      {-1e6, "-1e+06"}, {999999.5, "1e+06"}, {2147483648.0, "2.14748e+09"}};
  for (const Row& row : rows) {
    CDoubleValue value(row.number);
    EXPECT_EQ(textOf(value), row.text);
    EXPECT_EQ(streamText(value), row.text);
    EXPECT_EQ(streamLiteral(value), row.text);
  }
}

TEST(ValueText, StringsAreQuotedOnlyAsLiterals) {
  CStringValue value("a \"b\"");
  EXPECT_EQ(textOf(value), "a \"b\"");
  EXPECT_EQ(streamText(value), "a \"b\"");
  EXPECT_EQ(streamLiteral(value), "\"a \"b\"\"");
}

TEST(ValueText, VectorsNestTheirElementsAsLiterals) {
  CVectorValue empty(0);
  EXPECT_EQ(textOf(empty), "[empty]");
  EXPECT_EQ(streamLiteral(empty), "[[empty]]");

  double inner[] = {2, 3};
  CVectorValue nested(3);
  ValuePtr one = std::make_unique<CDoubleValue>(1);
  ValuePtr a = std::make_unique<CStringValue>("a");
  ValuePtr pair = std::make_unique<CVectorValue>(inner, 2);
  nested.adoptNth(0, one);
  nested.adoptNth(1, a);
  nested.adoptNth(2, pair);
  EXPECT_EQ(textOf(nested), "1 \"a\" [2 3]");
  EXPECT_EQ(streamText(nested), "1 \"a\" [2 3]");
  EXPECT_EQ(streamLiteral(nested), "[1 \"a\" [2 3]]");
}

TEST(ValueText, ObjectValuesWriteTheTargetAddress) {
  CDoubleValue target;
  CObjectValue value(&target);
  std::ostringstream expected;
  expected << static_cast<const void*>(&target);
  EXPECT_EQ(textOf(value), expected.str());
  EXPECT_EQ(streamLiteral(value), expected.str());
}

TEST(ValueText, AppendTextAddsToWhatIsThere) {
  std::string out = "x=";
  appendText(out, CDoubleValue(2.5));
  appendText(out, CStringValue(";"));
  EXPECT_EQ(out, "x=2.5;");
}

}  // namespace
