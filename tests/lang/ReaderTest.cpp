// The reader: token kinds, comments, limits, list counting, literal values
// and the vector text form.
#include "lang/Reader.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> tokensOf(std::string text, std::size_t limit = kMaxTokenLength) {
  CSourceStream in(std::move(text));
  std::vector<std::string> tokens;
  std::string token;
  while (readToken(in, token, limit)) tokens.push_back(token);
  return tokens;
}

using Tokens = std::vector<std::string>;

TEST(ReaderTokens, KindsAndBoundaries) {
  struct Row {
    const char* name;
    const char* text;
    Tokens tokens;
  };
  const Row rows[] = {
      {"all kinds", "(f(g x)\"a b\"[1 [2 3]])", {"(", "f", "(", "g", "x", ")", "\"a b\"", "[1 [2 3]]", ")"}},
      {"semicolon inside an atom", "x;y", {"x;y"}},
      {"comment at a token start", "a ;comment (x)\n b", {"a", "b"}},
      {"comments to the end", "; only\n;more", {}},
      {"quotes inside an atom", "ab\"cd\"", {"ab\"cd\""}},
      {"unterminated quote", "a \"bc", {"a"}},
      {"unterminated bracket", "[1 [2]", {}},
      {"quote ends at the second quote", "\"a\"b\"", {"\"a\"", "b\""}},
      {"brackets ignore quotes", "[\" a] b", {"[\" a]", "b"}},
      {"form feed and vertical tab are not whitespace", "a\fb\vc d", {"a\fb\vc", "d"}},
      {"carriage returns are whitespace", "a\r\nb\tc", {"a", "b", "c"}},
      {"parenthesis inside quotes", "\"(x)\"", {"\"(x)\""}},
  };
  for (const Row& row : rows) EXPECT_EQ(tokensOf(row.text), row.tokens) << row.name;
}

TEST(ReaderTokens, PeekLeavesThePosition) {
  CSourceStream in("abc def");
  std::string token;
  ASSERT_TRUE(peekToken(in, token));
  EXPECT_EQ(token, "abc");
  ASSERT_TRUE(readToken(in, token));
  EXPECT_EQ(token, "abc");
}

TEST(ReaderLimits, LongTokensFailTheStreamButLongCommentsAreSkipped) {
  std::string longest(kMaxTokenLength, 'a');
  EXPECT_EQ(tokensOf(longest), Tokens{longest});

  CSourceStream in(longest + "a b");
  std::string token;
  EXPECT_FALSE(readToken(in, token));
  EXPECT_EQ(in.failure(), CSourceStream::Failure::TokenTooLong);
  EXPECT_FALSE(readToken(in, token)) << "a failed stream gives no more tokens";

  std::string quoted = "\"" + std::string(kMaxTokenLength, 'q') + "\"";
  EXPECT_EQ(tokensOf(quoted), Tokens{});
  EXPECT_EQ(tokensOf(quoted, kMaxFrameTokenLength), Tokens{quoted});

  EXPECT_EQ(tokensOf(";" + std::string(5000, 'c') + "\nx"), Tokens{"x"});
}

TEST(ReaderCount, CountsItemsOfTheRestOfAList) {
  struct Row {
    const char* text;
    bool restore;
    int count;
    const char* next;  // the token after the count, when the position was kept or restored
  };
  const Row rows[] = {{"a b (c d) e) z", true, 4, "a"},
                      {"a b (c d) e) z", false, 4, "z"},
                      {") z", false, 0, "z"},
                      {"a b (c", true, -1, "a"}};
  for (const Row& row : rows) {
    CSourceStream in(row.text);
    EXPECT_EQ(countItems(in, row.restore), row.count) << row.text;
    std::string token;
    if (row.count >= 0) {
      ASSERT_TRUE(readToken(in, token));
      EXPECT_EQ(token, row.next) << row.text;
    }
  }
}

TEST(ReaderLiterals, Classification) {
  for (const char* numeric : {"1.5", "-2", ".5", "7.", "-", ".", "0"}) EXPECT_TRUE(isNumeric(numeric)) << numeric;
  for (const char* other : {"1.2.3", "1e5", "+3", "", "--1", "1-", "a"}) EXPECT_FALSE(isNumeric(other)) << other;
  EXPECT_TRUE(isStringLiteral("\"a\""));
  EXPECT_FALSE(isStringLiteral("ab\"cd\""));
  EXPECT_FALSE(isStringLiteral(""));
  EXPECT_TRUE(isVectorLiteral("[1]"));
  EXPECT_FALSE(isVectorLiteral("[1"));
}

TEST(ReaderLiterals, ValuesOfEachKind) {
  struct Row {
    const char* token;
    int type;
    const char* text;
  };
  const Row rows[] = {{"-2.5", kTypeDouble, "-2.5"}, {"-", kTypeDouble, "0"},         {".", kTypeDouble, "0"},
                      {"7.", kTypeDouble, "7"},         {".5", kTypeDouble, "0.5"},     {"-.25", kTypeDouble, "-0.25"},
                      {"\"a b\"", kTypeString, "a b"}, {"\"\"", kTypeString, ""},       {"word", kTypeString, "word"},
                      {"[1 [2 3]]", kTypeVector, "1 [2 3]"}, {"[]", kTypeVector, "[empty]"}};
  for (const Row& row : rows) {
    ValuePtr value = literalValue(row.token);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->typeCode(), row.type) << row.token;
    EXPECT_EQ(textOf(*value), row.text) << row.token;
  }
}

TEST(ReaderVectorText, ItemsAndShorthand) {
  struct Row {
    const char* name;
    const char* text;
    int count;
    const char* literal;
  };
  const Row rows[] = {
      {"numbers alone", " 1 2.5\t-3\n", 3, "[1 2.5 -3]"},
      {"a lone minus or point reads as zero", "- .", 2, "[0 0]"},
      {"a number against a parenthesis", "1(2)", 4, "[1 \"(\" 2 \")\"]"},
      {"mixed items", "1 \"two\" [3 4] x", 4, "[1 \"two\" [3 4] \"x\"]"},
      {"parentheses are one-character strings", "( a )", 3, "[\"(\" \"a\" \")\"]"},
      {"comments are skipped", "1 ;two\n 3", 2, "[1 3]"},
      {"empty text", "", 0, "[[empty]]"},
      {"shorthand", "nx4 0.5", 4, "[0.5 0.5 0.5 0.5]"},
      {"shorthand of zero", "nx0 1", 0, "[[empty]]"},
      {"shorthand without a number", "nx4", 0, "[[empty]]"},
      {"shorthand with a negative count", "nx-3 1", 0, "[[empty]]"},
      {"shorthand with garbage", "nxa b", 0, "[[empty]]"},
      {"shorthand with an exponent", "nx2 1e3", 2, "[1000 1000]"},
  };
  for (const Row& row : rows) {
    std::unique_ptr<CVectorValue> vector = CVectorValue::fromText(row.text);
    EXPECT_EQ(vector->count(), row.count) << row.name;
    std::ostringstream literal;
    vector->writeLiteral(literal);
    EXPECT_EQ(literal.str(), row.literal) << row.name;
  }
}

// Text that would make a vector past the limits of a value is refused as a
// whole, at the limit and not before.
TEST(ReaderVectorText, TextPastTheLimitsOfAValueIsRefused) {
  struct Row {
    const char* name;
    std::string text;
    bool refused;
  };
  const auto nested = [](int depth) { return std::string(depth - 1, '[') + std::string(depth - 1, ']'); };
  const auto numbers = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "1 ";
    return text;
  };
  const Row rows[] = {
      {"shorthand of the most numbers", "nx" + std::to_string(CVectorValue::kMaxCount) + " 1", false},
      {"shorthand of one more", "nx" + std::to_string(CVectorValue::kMaxCount + 1) + " 1", true},
      {"shorthand beyond an int", "nx99999999999 1", true},
      {"the most numbers written out", numbers(CVectorValue::kMaxCount), false},
      {"one number more", numbers(CVectorValue::kMaxCount + 1), true},
      {"vectors nested to the limit", nested(kMaxVectorDepth), false},
      {"vectors nested one deeper", nested(kMaxVectorDepth + 1), true},
  };
  for (const Row& row : rows) {
    std::unique_ptr<CVectorValue> vector = CVectorValue::fromText(row.text);
    EXPECT_EQ(vector == nullptr, row.refused) << row.name;
    if (vector) {
      EXPECT_LE(vector->size(), kMaxValueSize) << row.name;
    }
  }
  EXPECT_EQ(literalValue("[" + nested(kMaxVectorDepth + 1) + "]"), nullptr);
}

}  // namespace
