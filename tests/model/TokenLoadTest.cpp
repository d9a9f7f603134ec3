// Tokens read from definitions: their log lines, characteristics and the
// default characteristic, refusals, the generator's copy and the token report.
#include "LoadedNet.h"

#include "model/Place.h"
#include "model/Token.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string kPlace = "<places><place id=\"P\"/></places>";

std::string tokens(const std::string& inside) { return kPlace + "<tokens>" + inside + "</tokens>"; }

std::string printed(const CToken& token) {
  std::ostringstream out;
  token.print(out);
  return out.str();
}

double number(const CCharacteristic* c) { return static_cast<const CDoubleValue&>(c->value()).number(); }

TEST(TokenLoad, LogsItsAttributesAndBindsItsHost) {
  LoadedNet loaded(tokens("<token id=\"k\" host=\"P\" priority=\"4\" entering=\"2\"/>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.logBetween("-------- Token------", "-----------------------"),
            (std::vector<std::string>{"-------- Token------", "k", "P", "4", "2", "-----------------------"}));
  CToken* token = loaded.token("k");
  ASSERT_NE(token, nullptr);
  EXPECT_EQ(token->priority(), 4);
  EXPECT_EQ(token->entering(), 2);
  EXPECT_EQ(token->host(), loaded.place("P"));
}

TEST(TokenLoad, DefaultCharacteristicIsDefaultElseFirstByNameElseNone) {
  LoadedNet loaded(tokens(
      "<token id=\"ba\" host=\"P\"><characteristic name=\"b\" type=\"double\">1</characteristic>"
      "<characteristic name=\"a\" type=\"double\">2</characteristic></token>"
      "<token id=\"named\" host=\"P\"><characteristic name=\"a\" type=\"double\">1</characteristic>"
      "<characteristic name=\"Default\" type=\"double\">3</characteristic></token>"
      "<token id=\"bare\" host=\"P\"/>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(loaded.token("ba")->defaultCharacteristic(), loaded.token("ba")->characteristic("a"));
  EXPECT_EQ(loaded.token("named")->defaultCharacteristic(), loaded.token("named")->characteristic("Default"));
  EXPECT_EQ(loaded.token("bare")->defaultCharacteristic(), nullptr);
}

TEST(TokenLoad, CharacteristicValuesHistoriesAndTheLaterOfTwoNames) {
  LoadedNet loaded(tokens(
      "<token id=\"k\" host=\"P\">"
      "<characteristic name=\"d\" type=\"double\" history=\"3\">2.5abc</characteristic>"
      "<characteristic name=\"n\" type=\"double\">none</characteristic>"
      "<characteristic name=\"s\" type=\"string\"> two words </characteristic>"
      "<characteristic name=\"v\" type=\"vector\">[1 2]</characteristic>"
      "<characteristic name=\"d\" type=\"double\" history=\"1\">7</characteristic></token>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  CToken* token = loaded.token("k");
  ASSERT_EQ(token->characteristics().size(), 4u);
  EXPECT_EQ(number(token->characteristic("d")), 7.0);  // the later one is kept
  EXPECT_EQ(token->characteristic("d")->size(), 2);
  EXPECT_EQ(number(token->characteristic("n")), 0.0);
  EXPECT_EQ(textOf(token->characteristic("s")->value()), " two words ");
  EXPECT_STREQ(token->characteristic("v")->value().typeName(), "vector");
}

// The leading decimal number, whatever the process's locale; words such as
// "nan" and "inf" are not decimal numbers and read as 0.
TEST(TokenLoad, DoubleTextIsItsLeadingDecimalNumber) {
  const std::pair<const char*, double> rows[] = {
      {"  -1.25e2xyz", -125.0}, {"+.5", 0.5}, {"nan", 0.0}, {"inf", 0.0}, {"-Infinity", 0.0}, {"+-1", 0.0}};
  std::string inside;
  for (const auto& [text, expected] : rows) {
    inside += "<characteristic name=\"" + std::string(text) + "\" type=\"double\">" + text + "</characteristic>";
  }
  LoadedNet loaded(tokens("<token id=\"k\" host=\"P\">" + inside + "</token>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  for (const auto& [text, expected] : rows) {
    EXPECT_EQ(number(loaded.token("k")->characteristic(text)), expected) << text;
  }
}

// Characteristic names are map keys: nothing bounds their length.
TEST(TokenLoad, LongCharacteristicNameIsKept) {
  const std::string name(300, 'c');
  LoadedNet loaded(tokens("<token id=\"k\" host=\"P\"><characteristic name=\"" + name +
                          "\" type=\"double\">4</characteristic></token>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(number(loaded.token("k")->characteristic(name)), 4.0);
}

struct Refusal {
  const char* title;
  std::string characteristic;
  std::string message;
};

class CharacteristicRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(CharacteristicRefusal, FailsTheLoadWithAMessage) {
  LoadedNet loaded(tokens("<token id=\"k\" host=\"P\">" + GetParam().characteristic + "</token>"));
  EXPECT_FALSE(loaded.initialised());
  EXPECT_NE(loaded.log().text().find(GetParam().message), std::string::npos) << loaded.log().text();
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CharacteristicRefusal,
    ::testing::Values(
        Refusal{"NegativeHistory", "<characteristic name=\"c\" type=\"double\" history=\"-1\">1</characteristic>",
                "characteristic history outside 0 to 65536 refused:\nc\n"},
        Refusal{"HugeHistory",
                "<characteristic name=\"c\" type=\"double\" history=\"2000000000\">1</characteristic>",
                "characteristic history outside 0 to 65536 refused:\nc\n"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.title); });

TEST(TokenPrint, WritesTheReportInNameOrder) {
  LoadedNet loaded(tokens("<token id=\"k\" host=\"P\">"
                          "<characteristic name=\"b\" type=\"string\">x y</characteristic>"
                          "<characteristic name=\"a\" type=\"double\">1.5</characteristic></token>"
                          "<token id=\"bare\" host=\"P\"/>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  EXPECT_EQ(printed(*loaded.token("k")),
            "*token infomation\n----------------\nname:k\ncharacteristics \n----------------\na: 1.5\nb: x y\n");
  EXPECT_EQ(printed(*loaded.token("bare")),
            "*token infomation\n----------------\nname:bare\ncharacteristics \n----------------\n");
}

TEST(TokenCopy, TakesTheTemplateFieldsAndCurrentValuesWithoutHistory) {
  LoadedNet loaded(tokens("<token id=\"t\" host=\"P\" priority=\"5\" entering=\"3\">"
                          "<characteristic name=\"Default\" type=\"double\" history=\"2\">1</characteristic>"
                          "<characteristic name=\"z\" type=\"string\">s</characteristic></token>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  CToken& original = *loaded.token("t");
  CCharacteristic* history = original.characteristic("Default");
  history->advance();
  history->value().assign(CDoubleValue(9.0));
  CToken copy(original);
  EXPECT_EQ(copy.priority(), 5);
  EXPECT_EQ(copy.entering(), 3);
  EXPECT_EQ(copy.host(), loaded.place("P"));
  EXPECT_EQ(&copy.net(), &loaded.net());
  ASSERT_EQ(copy.characteristics().size(), 2u);
  CCharacteristic* copied = copy.characteristic("Default");
  EXPECT_NE(copied, history);
  EXPECT_EQ(copy.defaultCharacteristic(), copied);
  EXPECT_EQ(copied->size(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(textOf(copied->past(k)), "9") << k;  // earlier history not copied
  EXPECT_EQ(textOf(copy.characteristic("z")->value()), "s");
  EXPECT_EQ(printed(copy).find("name:NotFound\n") != std::string::npos, true);  // not registered
}

TEST(TokenCharacteristics, ReplacingTheDefaultHandsTheDefaultOver) {
  LoadedNet loaded(tokens("<token id=\"k\" host=\"P\"><characteristic name=\"a\" type=\"double\">1"
                          "</characteristic></token>"));
  ASSERT_TRUE(loaded.initialised()) << loaded.log().text();
  CToken& token = *loaded.token("k");
  auto replacement = std::make_unique<CCharacteristic>(0, std::make_unique<CDoubleValue>(2.0));
  CCharacteristic* placed = replacement.get();
  token.putCharacteristic("a", std::move(replacement));
  EXPECT_EQ(token.defaultCharacteristic(), placed);
  EXPECT_TRUE(token.removeCharacteristic("a"));
  EXPECT_FALSE(token.removeCharacteristic("a"));
  EXPECT_EQ(token.characteristic("a"), nullptr);
  EXPECT_EQ(number(token.defaultCharacteristic()), 2.0);  // a removed default lives on
}

}  // namespace
