// The step end to end through an in-process net: the order of a step's parts,
// routing under capacities and predicates, merging, exits, runtime errors and
// their reports, the tokens table after tokens leave, and transition activity.
#include "NetHarness.h"

#include "model/Place.h"
#include "model/Token.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

// A transition element with the given inputs, outputs and predicate cells.
std::string transition(const std::string& id, const std::vector<std::string>& inputs,
                       const std::vector<std::string>& outputs, const std::string& predicates,
                       const std::string& attributes = "") {
  std::string text = "<transition id=\"" + id + "\" " + attributes + "><inputs>";
  for (const auto& place : inputs) text += "<input ref=\"" + place + "\"/>";
  text += "</inputs><outputs>";
  for (const auto& place : outputs) text += "<output ref=\"" + place + "\"/>";
  return text + "</outputs>" + predicates + "</transition>";
}

std::string token(const std::string& id, const std::string& host, const std::string& attributes = "",
                  const std::string& defaultValue = "1") {
  return "<token id=\"" + id + "\" host=\"" + host + "\" " + attributes +
         "><characteristic name=\"Default\" type=\"double\">" + defaultValue + "</characteristic></token>";
}

const std::string kAllTrue = "<predicates default=\"true\"/>";

// Places A and B, transition T from A to B, token k entering A at 0.
const std::string kPassThrough = "<transitions>" + transition("T", {"A"}, {"B"}, kAllTrue) +
                                 "</transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
                                 "<tokens>" +
                                 token("k", "A") + "</tokens>";

TEST(Step, PassThroughExampleGivesEntranceMovementExitThenNothing) {
  TestNet net(kPassThrough);
  ASSERT_TRUE(net.initialised()) << net.log().text();
  EXPECT_EQ(net.step(), Events({"entrance k A"}));
  EXPECT_EQ(net.step(), Events({"movement k B"}));
  EXPECT_EQ(net.step(), Events({"exit k B"}));
  EXPECT_EQ(net.step(), Events({}));
  EXPECT_EQ(net.net().time(), 4);
  EXPECT_TRUE(net.net().runtimeOk());
}

TEST(Step, TokenThatExitedIsDestroyedAndItsEntryFreed) {
  TestNet net(kPassThrough);
  ASSERT_TRUE(net.initialised());
  net.run(3);
  const int index = net.tokenIndex("k");
  ASSERT_GE(index, 0);
  EXPECT_EQ(net.net().tokensTable().stateAt(index), NameTable::State::Free);
  EXPECT_EQ(net.net().tokensTable().objectAt(index), nullptr);
  auto* b = static_cast<CPlace*>(net.net().placesTable().objectAt(net.net().placesTable().indexOf("B")));
  EXPECT_EQ(b->tokens().count(), 0);
}

// Tokens leave in every order relative to the order they were made in; each
// one is destroyed at the end of the step it left in, and only that one.
TEST(Step, TokensLeavingInAnyOrderAreEachDestroyedAtTheirStepEnd) {
  struct Row {
    const char* name;
    const char* entering[3];  // of k1, k2, k3, made in that order
    int remaining[6];         // tokens owned after each of steps 1..6
  };
  const Row rows[] = {
      {"first made leaves first", {"0", "1", "2"}, {3, 3, 2, 1, 0, 0}},
      {"last made leaves first", {"2", "1", "0"}, {3, 3, 2, 1, 0, 0}},
      {"middle one leaves first", {"1", "0", "1"}, {3, 3, 2, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string tokens;
    for (int i = 0; i < 3; ++i) {
      tokens += token("k" + std::to_string(i + 1), "A", std::string("entering=\"") + row.entering[i] + "\"");
    }
    TestNet net("<transitions>" + transition("T", {"A"}, {"B"}, kAllTrue) +
                "</transitions><places><place id=\"A\"/><place id=\"B\"/></places><tokens>" + tokens + "</tokens>");
    ASSERT_TRUE(net.initialised()) << net.log().text();
    for (int step = 0; step < 6; ++step) {
      net.step();
      EXPECT_EQ(net.net().ownedTokenCount(), row.remaining[step]) << "after step " << step + 1;
    }
  }
}

TEST(Step, EnteringTokensStandInTheirPlacesAfterTheFirstStepAndMoveInTheSecond) {
  TestNet net("<transitions>" + transition("T", {"A", "C"}, {"B"}, kAllTrue) +
              "</transitions><places><place id=\"A\"/><place id=\"B\"/><place id=\"C\"/></places><tokens>" +
              token("k1", "A") + token("k2", "C") + token("late", "A", "entering=\"1\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  const Events first = net.step();
  EXPECT_EQ(std::set<std::string>(first.begin(), first.end()),
            std::set<std::string>({"entrance k1 A", "entrance k2 C"}));
  const Events second = net.step();
  EXPECT_EQ(std::set<std::string>(second.begin(), second.end()),
            std::set<std::string>({"movement k1 B", "movement k2 B", "entrance late A"}));
  // The token that entered during the second step moves in the third.
  const Events third = net.step();
  EXPECT_NE(std::find(third.begin(), third.end(), "movement late B"), third.end());
}

TEST(Step, TokenArrivingInALaterPlaceIsNotMovedOnInTheSameStep) {
  // Transition priorities order the places A (fed by T0), B (T1), C (T2), S.
  TestNet net("<transitions>" + transition("T0", {"S"}, {"A"}, kAllTrue, "priority=\"30\"") +
              transition("T1", {"A"}, {"B"}, kAllTrue, "priority=\"20\"") +
              transition("T2", {"B"}, {"C"}, kAllTrue, "priority=\"10\"") +
              "</transitions><places><place id=\"S\"/><place id=\"A\"/><place id=\"B\"/><place id=\"C\"/>"
              "</places><tokens>" +
              token("k", "A") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  NameTable& places = net.net().placesTable();
  ASSERT_EQ(places.nameAt(0), "A");
  ASSERT_EQ(places.nameAt(1), "B");
  EXPECT_EQ(net.step(), Events({"entrance k A"}));
  EXPECT_EQ(net.step(), Events({"movement k B"}));
  EXPECT_EQ(net.step(), Events({"movement k C"}));
  EXPECT_EQ(net.step(), Events({"exit k C"}));
}

// Outputs declared O1, O2, O3 stand in the order O3, O1, O2 after binding,
// unless a place priority puts one ahead.
TEST(Step, TokenGoesOnlyToTheFirstTrueOutputInBoundOrder) {
  struct Row {
    const char* name;
    std::string priorities[3];
    std::string expected;
  };
  const Row rows[] = {
      {"equal priorities", {"0", "0", "0"}, "movement k O3"},
      {"O1 highest", {"5", "0", "0"}, "movement k O1"},
      {"O2 highest", {"0", "7", "1"}, "movement k O2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string places = "<place id=\"A\"/>";
    for (int i = 0; i < 3; ++i) {
      places += "<place id=\"O" + std::to_string(i + 1) + "\" priority=\"" + row.priorities[i] + "\"/>";
    }
    TestNet net("<transitions>" + transition("T", {"A"}, {"O1", "O2", "O3"}, kAllTrue) + "</transitions><places>" +
                places + "</places><tokens>" + token("k", "A") + "</tokens>");
    ASSERT_TRUE(net.initialised()) << net.log().text();
    net.step();
    EXPECT_EQ(net.step(), Events({row.expected}));
  }
}

TEST(Step, FullOutputIsSkippedWithoutEvaluatingItsPredicateAndATokenWithNoRoomWaits) {
  // The predicate of the full output X would fail the step if it ran.
  const std::string predicates =
      "<predicates default=\"true\"><predicate input=\"A\" output=\"X\">boom</predicate></predicates>";
  TestNet net("<transitions>" + transition("T", {"A"}, {"X", "Y"}, predicates) +
              "</transitions><places><place id=\"A\"/><place id=\"X\" capacity=\"0\"/>"
              "<place id=\"Y\" capacity=\"1\"/></places>"
              "<functions>(defun boom \"0\" () () (/ 1 0))</functions><tokens>" +
              token("k1", "A", "priority=\"2\"") + token("k2", "A", "priority=\"1\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.step();
  EXPECT_EQ(net.step(), Events({"movement k1 Y"}));
  EXPECT_TRUE(net.net().runtimeOk());
  // Y releases k1 before A is visited, so k2 finds room in the next step.
  EXPECT_EQ(net.step(), Events({"exit k1 Y", "movement k2 Y"}));
  EXPECT_TRUE(net.net().runtimeOk());
}

// A place's room is its present tokens: one that moved on or exited earlier in
// the step has left room for one arriving later in the same step, and one
// that waited still takes room. Places stand C, B, A by their feeders' priorities.
TEST(Step, RoomLeftByATokenMovingOnOrExitingIsTakenInTheSameStep) {
  TestNet net("<transitions>" + transition("T0", {"S"}, {"A"}, kAllTrue, "priority=\"5\"") +
              transition("T1", {"A"}, {"B"}, kAllTrue, "priority=\"10\"") +
              transition("T2", {"B"}, {"C"}, kAllTrue, "priority=\"20\"") +
              "</transitions><places><place id=\"S\"/><place id=\"A\"/><place id=\"B\" capacity=\"1\"/>"
              "<place id=\"C\" capacity=\"1\"/></places><tokens>" +
              token("k1", "B", "priority=\"3\"") + token("k2", "A", "priority=\"2\"") +
              token("k3", "A", "priority=\"1\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.step();
  EXPECT_EQ(net.step(), Events({"movement k1 C", "movement k2 B"}));
  EXPECT_EQ(net.step(), Events({"exit k1 C", "movement k2 C", "movement k3 B"}));
  EXPECT_EQ(net.step(), Events({"exit k2 C", "movement k3 C"}));
  EXPECT_EQ(net.step(), Events({"exit k3 C"}));
}

const std::string kMergeNet =
    "<transitions>" + transition("T", {"A"}, {"M"}, kAllTrue) +
    "</transitions><places><place id=\"A\"/><place id=\"M\" merge=\"true\" mergeRule=\"absorb\"/>"
    "<place id=\"Z\"/></places>"
    "<functions>(defun absorb \"0\" (other) () (set (+ token (get-named other \"Default\"))))</functions><tokens>" +
    token("k1", "A", "priority=\"2\"", "10") + token("k2", "A", "priority=\"1\"", "5") + "</tokens>";

TEST(Step, SecondTokenArrivingAtAMergePlaceIsMergedIntoTheFirst) {
  TestNet net(kMergeNet);
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.step();
  EXPECT_EQ(net.step(), Events({"movement k1 M", "merge k2 M k1"}));
  // The merge rule ran with k1 as current token and k2 as its argument.
  EXPECT_EQ(net.events().events().back().characteristics, "Default=15");
  EXPECT_TRUE(net.net().runtimeOk());
}

TEST(Step, MergedAwayTokenKeepsItsTableNameWithoutAnObject) {
  TestNet net(kMergeNet);
  ASSERT_TRUE(net.initialised());
  net.run(2);
  const int index = net.tokenIndex("k2");
  ASSERT_GE(index, 0);
  EXPECT_EQ(net.net().tokensTable().stateAt(index), NameTable::State::Defined);
  EXPECT_EQ(net.net().tokensTable().objectAt(index), nullptr);
  auto* m = static_cast<CPlace*>(net.net().placesTable().objectAt(net.net().placesTable().indexOf("M")));
  EXPECT_EQ(m->tokens().count(), 1);
}

TEST(Step, DefaultCharacteristicHistoryAdvancesOnEachMoveAndValuesAreStoredAtStepEnd) {
  TestNet net("<transitions>" + transition("T", {"A"}, {"B"}, kAllTrue) +
              "</transitions><places><place id=\"A\"/><place id=\"B\" char=\"inc\"/></places>"
              "<functions>(defun inc \"0\" () () (set (+ token 1)))</functions><tokens>"
              "<token id=\"k\" host=\"A\"><characteristic name=\"Default\" type=\"double\" history=\"2\">7"
              "</characteristic></token></tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.run(2);
  auto* k = static_cast<CToken*>(net.net().tokensTable().objectAt(net.tokenIndex("k")));
  ASSERT_NE(k, nullptr);
  CCharacteristic* history = k->defaultCharacteristic();
  EXPECT_EQ(textOf(history->value()), "8");
  EXPECT_EQ(textOf(history->past(0)), "8");
  EXPECT_EQ(textOf(history->past(1)), "7");
}

// Runtime errors: the report on standard error, what still happens in the step,
// and a net that no longer steps.
TEST(StepErrors, PredicateErrorStopsMovingButTheStepCompletes) {
  const std::string predicates =
      "<predicates default=\"true\"><predicate input=\"A\" output=\"B\">bad</predicate></predicates>";
  TestNet net("<transitions>" + transition("T", {"A"}, {"B"}, predicates) +
              "</transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
              "<functions>(defun bad \"0\" () () (/ 1 0))</functions><tokens>" +
              token("k1", "A", "priority=\"2\"") + token("k2", "A", "priority=\"1\"") +
              token("late", "B", "entering=\"1\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.step();
  testing::internal::CaptureStderr();
  const Events second = net.step();
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(second, Events({"entrance late B"}));
  EXPECT_FALSE(net.net().runtimeOk());
  EXPECT_EQ(net.net().time(), 2);
  const std::string report =
      "\n***Error on step 1 while executing predicate.\n"
      "\n\t\t      of Transition: T"
      "\n\t\t                  i: 0"
      "\n\t\t                  j: 0"
      "\n\t\t     predicate name: bad\n";
  ASSERT_GE(errors.size(), report.size());
  EXPECT_EQ(errors.substr(errors.size() - report.size()), report);
  // Only the first token was offered: one report.
  EXPECT_EQ(errors.find("***Error on step"), errors.rfind("***Error on step"));
  EXPECT_NE(net.log().text().find("***Call stack entry:"), std::string::npos);
  // A net after a runtime error changes nothing, not even its clock.
  EXPECT_EQ(net.step(), Events({}));
  EXPECT_EQ(net.net().time(), 2);
}

TEST(StepErrors, CharacteristicFunctionErrorIsReportedAndTheTokenStillArrives) {
  TestNet net("<transitions>" + transition("T", {"A"}, {"B"}, kAllTrue) + transition("U", {"B"}, {"C"}, kAllTrue) +
              "</transitions><places><place id=\"A\"/><place id=\"B\" char=\"bad\"/><place id=\"C\"/></places>"
              "<functions>(defun bad \"0\" () () (/ 1 0))</functions><tokens>" +
              token("k", "A") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  net.step();
  testing::internal::CaptureStderr();
  const Events second = net.step();
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(second, Events({"movement k B"}));
  EXPECT_FALSE(net.net().runtimeOk());
  const std::string report =
      "\n***Error on step 1 while executing characteristic function.\n"
      "***Name of token and place involved:\n\n"
      "\t\t              token: k\n"
      "\t\t              place: B\n"
      "\t\t      of Transition: U\n"
      "\t\treceived from place: A\n"
      "\t\t      of Transition: NotFound.\n"
      "\n\t\t      function name: bad\n";
  ASSERT_GE(errors.size(), report.size());
  EXPECT_EQ(errors.substr(errors.size() - report.size()), report);
}

TEST(StepErrors, CharacteristicFunctionErrorOnEnteringHasNoStepReport) {
  TestNet net("<places><place id=\"A\" char=\"bad\"/></places>"
              "<functions>(defun bad \"0\" () () (/ 1 0))</functions><tokens>" +
              token("k", "A") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  testing::internal::CaptureStderr();
  EXPECT_EQ(net.step(), Events({"entrance k A"}));
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(net.net().runtimeOk());
  EXPECT_EQ(errors.find("***Error on step"), std::string::npos);
}

// Activity: a transition moves tokens while startTime <= time and, unless
// lifeTime is -1, time < startTime + lifeTime. A generator feeds A every step.
TEST(Activity, TransitionMovesOnlyInsideItsWindow) {
  struct Row {
    const char* name;
    const char* startTime;
    const char* lifeTime;
    std::set<int> movingTimes;
  };
  const Row rows[] = {
      {"always", "0", "-1", {1, 2, 3, 4, 5}},
      {"from 3 on", "3", "-1", {3, 4, 5}},
      {"two steps from 2", "2", "2", {2, 3}},
      {"no life", "0", "0", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestNet net("<transitions>" +
                transition("T", {"A"}, {"B"}, kAllTrue,
                           std::string("startTime=\"") + row.startTime + "\" lifeTime=\"" + row.lifeTime + "\"") +
                "</transitions><places><place id=\"A\"/><place id=\"B\"/></places><tokens>"
                "<generator id=\"g\" host=\"A\" type=\"periodic\" predicate=\"true\" period=\"1\"/></tokens>");
    ASSERT_TRUE(net.initialised()) << net.log().text();
    std::set<int> moving;
    for (const RecordedEvent& event : net.run(6)) {
      if (event.text.rfind("movement", 0) == 0) moving.insert(event.time);
    }
    EXPECT_EQ(moving, row.movingTimes);
  }
}

TEST(Step, NetThatFailedToInitialiseDoesNotStep) {
  TestNet net("<places><place id=\"A\"/></places><tokens>" + token("k", "Nowhere") + "</tokens>");
  ASSERT_FALSE(net.initialised());
  EXPECT_EQ(net.step(), Events({}));
  EXPECT_EQ(net.net().time(), 0);
}

}  // namespace
