// Token generators end to end: when each kind makes tokens, their names, their
// template, unique names beside document tokens, and the mean interval of a
// random generator.
#include "NetHarness.h"

#include "model/Place.h"
#include "model/Token.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Generated tokens enter the exit place G (and leave it one step later).
std::string generatorNet(const std::string& attributes, const std::string& extra = "") {
  return "<places><place id=\"G\" char=\"inc\"/></places>"
         "<functions>(defun inc \"0\" () () (set (+ token 1))) (defun late \"0\" () () (>= time 4))</functions>"
         "<tokens>" +
         extra + "<generator id=\"g\" host=\"G\" " + attributes +
         "><characteristic name=\"Default\" type=\"double\">10</characteristic></generator></tokens>";
}

struct Entrance {
  int time;
  std::string text;
  bool operator==(const Entrance&) const = default;
};

std::vector<Entrance> entrances(TestNet& net, int steps) {
  std::vector<Entrance> found;
  for (const RecordedEvent& event : net.run(steps)) {
    if (event.text.rfind("entrance", 0) == 0) found.push_back({event.time, event.text});
  }
  return found;
}

std::vector<int> times(const std::vector<Entrance>& found) {
  std::vector<int> result;
  for (const Entrance& entrance : found) result.push_back(entrance.time);
  return result;
}

TEST(Generator, PeriodicMakesTokensAtEnteringThenEveryPeriodNamedInOrder) {
  TestNet net(generatorNet("type=\"periodic\" predicate=\"true\" period=\"3\" entering=\"2\""));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  EXPECT_EQ(entrances(net, 10), (std::vector<Entrance>{{2, "entrance g_1 G"}, {5, "entrance g_2 G"},
                                                      {8, "entrance g_3 G"}}));
}

TEST(Generator, WhenEachKindGenerates) {
  struct Row {
    const char* name;
    std::string attributes;
    std::vector<int> times;
  };
  const Row rows[] = {
      {"period 0 once", "type=\"periodic\" predicate=\"true\" period=\"0\" entering=\"1\"", {1}},
      {"negative period once", "type=\"periodic\" predicate=\"true\" period=\"-2\" entering=\"1\"", {1}},
      {"conditional false never", "type=\"conditional\" predicate=\"false\" period=\"1\"", {}},
      {"conditional true like periodic", "type=\"conditional\" predicate=\"true\" period=\"2\"", {0, 2, 4}},
      {"conditional function at its checks", "type=\"conditional\" predicate=\"late\" period=\"2\" entering=\"1\"",
       {5}},
      {"random period 1 every step", "type=\"random\" predicate=\"true\" period=\"1\" entering=\"2\"", {2, 3, 4, 5}},
      {"random period 0 once", "type=\"random\" predicate=\"true\" period=\"0\" entering=\"3\"", {3}},
      {"random negative period once", "type=\"random\" predicate=\"true\" period=\"-4\"", {0}},
      {"unknown type with constant true never", "type=\"other\" predicate=\"true\" period=\"1\"", {}},
      {"unknown type asks its function", "type=\"other\" predicate=\"late\" period=\"1\"", {4, 5}},
      {"entering time already passed never", "type=\"periodic\" predicate=\"true\" period=\"1\" entering=\"-1\"", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestNet net(generatorNet(row.attributes));
    ASSERT_TRUE(net.initialised()) << net.log().text();
    EXPECT_EQ(times(entrances(net, 6)), row.times);
    EXPECT_TRUE(net.net().runtimeOk());
  }
}

TEST(Generator, TokenCarriesTheTemplateAfterTheHostCharacteristicFunctionRanOnce) {
  TestNet net(generatorNet("type=\"periodic\" predicate=\"true\" period=\"5\" priority=\"5\""));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.step();
  const RecordedEvent& entrance = net.events().events().at(0);
  EXPECT_EQ(entrance.text, "entrance g_1 G");
  EXPECT_EQ(entrance.characteristics, "Default=11");
  auto* token = static_cast<CToken*>(net.net().tokensTable().objectAt(net.tokenIndex("g_1")));
  ASSERT_NE(token, nullptr);
  EXPECT_EQ(token->priority(), 5);
  EXPECT_EQ(token->entering(), 0);
}

TEST(Generator, GeneratedNameSkipsNamesOfTokensInTheNet) {
  // A document token already named g_1 (it never leaves: H has no exit).
  const std::string documentToken =
      "<token id=\"g_1\" host=\"H\"><characteristic name=\"Default\" type=\"double\">0</characteristic></token>";
  std::string body = generatorNet("type=\"periodic\" predicate=\"true\" period=\"1\"", documentToken);
  body.replace(body.find("<places>"), 8, "<places><place id=\"H\"/><place id=\"J\"/>");
  body = "<transitions><transition id=\"T\"><inputs><input ref=\"H\"/></inputs><outputs><output ref=\"J\"/>"
         "</outputs><predicates default=\"false\"/></transition></transitions>" +
         body;
  TestNet net(body);
  ASSERT_TRUE(net.initialised()) << net.log().text();
  std::vector<std::string> texts;
  for (const Entrance& entrance : entrances(net, 2)) texts.push_back(entrance.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"entrance g_1 H", "entrance g_2 G", "entrance g_3 G"}));
  auto* original = static_cast<CToken*>(net.net().tokensTable().objectAt(net.tokenIndex("g_1")));
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(static_cast<CGNObject*>(original->host()), net.net().placesTable().objectAt(net.net().placesTable().indexOf("H")));
}

TEST(Generator, ExitedTokensEntryIsReusedByTheNextName) {
  TestNet net(generatorNet("type=\"periodic\" predicate=\"true\" period=\"2\""));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.run(2);  // g_1 enters at 0 and leaves at 1
  const int index = net.tokenIndex("g_1");
  ASSERT_GE(index, 0);
  EXPECT_EQ(net.net().tokensTable().stateAt(index), NameTable::State::Free);
  net.step();  // g_2 enters at 2
  EXPECT_EQ(net.net().tokensTable().nameAt(index), "g_2");
  EXPECT_EQ(net.net().tokensTable().stateAt(index), NameTable::State::Defined);
}

// Intervals are 1 to 10 steps, each equally likely: mean 5.5 with standard
// deviation about 2.87. The seed makes the run repeatable; with some 1,800
// intervals the tolerance of 0.35 is over five standard errors of the mean.
TEST(Generator, RandomIntervalsAverageHalfThePeriodPlusOneHalf) {
  TestNet net(generatorNet("type=\"random\" predicate=\"true\" period=\"10\""));
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.net().random().seed(20240607);
  const std::vector<int> at = times(entrances(net, 10000));
  ASSERT_GT(at.size(), 1500u);
  const double mean = static_cast<double>(at.back() - at.front()) / static_cast<double>(at.size() - 1);
  EXPECT_NEAR(mean, 5.5, 0.35);
  for (std::size_t i = 1; i < at.size(); ++i) {
    const int gap = at[i] - at[i - 1];
    ASSERT_TRUE(gap >= 1 && gap <= 10) << "gap " << gap << " at " << at[i];
  }
}

}  // namespace
