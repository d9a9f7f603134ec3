// Corners of the step that cross its parts: when the trace function runs,
// entering before generated tokens, runtime errors in a merge rule, a
// generator's predicate and the trace function, self-loops, a literal changed
// through set-nth, and split into a place during that place's own walk.
#include "NetHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

const std::string kDefault = "<characteristic name=\"Default\" type=\"double\">0</characteristic>";

std::string token(const std::string& id, const std::string& host, const std::string& attributes = "") {
  return "<token id=\"" + id + "\" host=\"" + host + "\" " + attributes + ">" + kDefault + "</token>";
}

std::string generator(const std::string& host, const std::string& attributes) {
  return "<generator id=\"g\" host=\"" + host + "\" " + attributes + ">" + kDefault + "</generator>";
}

std::string selfLoop(const std::string& place, const std::string& placeAttributes) {
  return "<transitions><transition id=\"T\"><inputs><input ref=\"" + place + "\"/></inputs><outputs><output ref=\"" +
         place + "\"/></outputs><predicates default=\"true\"/></transition></transitions><places><place id=\"" +
         place + "\" " + placeAttributes + "/></places>";
}

const std::string kFailing = "(defun bad \"0\" () () (/ 1 0))";

Events eventsAt(const std::vector<RecordedEvent>& events, int time) {
  Events found;
  for (const RecordedEvent& event : events) {
    if (event.time == time) found.push_back(event.text);
  }
  return found;
}

// The trace prints the step's time and the tokens in G: it sees the token the
// generator made in that step, the clock not yet advanced, and it runs in the
// step whose predicate failed.
TEST(StepCorners, TraceRunsAfterTheGeneratorsBeforeTheClockAndAfterAnError) {
  TestNet net("<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/>"
              "</outputs><predicates default=\"true\"><predicate input=\"A\" output=\"B\">bad</predicate>"
              "</predicates></transition></transitions><places><place id=\"A\"/><place id=\"B\"/><place id=\"G\"/>"
              "</places><functions>" +
              kFailing +
              "(defun GNTrace \"1;places.G.obj\" () () (print time (get-len (tokens-list #0))))</functions>"
              "<tokens>" +
              token("k", "A") + generator("G", "type=\"periodic\" predicate=\"true\" period=\"1\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  net.run(3);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "0\t1\t\n1\t1\t\n");
  EXPECT_FALSE(net.net().runtimeOk());
}

TEST(StepCorners, EnteringTokensAreReportedBeforeGeneratedOnes) {
  TestNet net("<places><place id=\"P\"/></places><tokens>" + generator("P", "type=\"periodic\" predicate=\"true\" "
                                                                             "period=\"5\" entering=\"2\"") +
              token("k", "P", "entering=\"2\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  EXPECT_EQ(eventsAt(net.run(3), 2), Events({"entrance k P", "entrance g_1 P"}));
}

// A runtime error there has only the function's own report, and the net stops.
TEST(StepCorners, RuntimeErrorInAMergeRuleAGeneratorOrTheTraceStopsTheNet) {
  struct Row {
    const char* name;
    std::string body;
    Events eventsOfTheFailingStep;
  };
  const Row rows[] = {
      {"merge rule",
       "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"M\"/></outputs>"
       "<predicates default=\"true\"/></transition><transition id=\"U\"><inputs><input ref=\"M\"/></inputs>"
       "<outputs><output ref=\"Z\"/></outputs><predicates default=\"false\"/></transition></transitions>"
       "<places><place id=\"A\"/><place id=\"M\" merge=\"true\" mergeRule=\"bad\"/><place id=\"Z\"/></places>"
       "<functions>" +
           kFailing + "</functions><tokens>" + token("kept", "M") + token("k", "A") + "</tokens>",
       {"merge k M kept"}},
      {"generator predicate",
       "<places><place id=\"P\"/></places><functions>" + kFailing + "</functions><tokens>" +
           generator("P", "type=\"conditional\" predicate=\"bad\" period=\"1\" entering=\"1\"") + "</tokens>",
       {}},
      {"trace function",
       "<places><place id=\"P\"/></places><functions>(defun GNTrace \"0\" () () (if (= time 1) (bad) 0))" +
           kFailing +
           "</functions><tokens>" + token("k", "P", "entering=\"1\"") + "</tokens>",
       {"entrance k P"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestNet net(row.body);
    ASSERT_TRUE(net.initialised()) << net.log().text();
    net.step();
    ASSERT_TRUE(net.net().runtimeOk());
    testing::internal::CaptureStderr();
    EXPECT_EQ(net.step(), row.eventsOfTheFailingStep);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(net.net().runtimeOk());
    EXPECT_NE(net.log().text().find("***Call stack entry:"), std::string::npos) << net.log().text();
    EXPECT_EQ(errors.find("***Error on step"), std::string::npos) << errors;
    EXPECT_EQ(net.step(), Events({}));
    EXPECT_EQ(net.net().time(), 2);
  }
}

// An entry re-inserted into its own place waits for the next step. A merging
// place that feeds itself merges an arriving token into another token, never
// into itself: the last one left is received, and loops on alone.
TEST(StepCorners, SelfLoopMovesEachTokenOnceAStep) {
  TestNet plain(selfLoop("A", "") + "<tokens>" + token("k", "A") + "</tokens>");
  ASSERT_TRUE(plain.initialised()) << plain.log().text();
  plain.step();
  EXPECT_EQ(plain.step(), Events({"movement k A"}));
  EXPECT_EQ(plain.step(), Events({"movement k A"}));

  TestNet merging(selfLoop("M", "merge=\"true\"") + "<tokens>" + token("first", "M", "priority=\"2\"") +
                  token("second", "M", "priority=\"1\"") + "</tokens>");
  ASSERT_TRUE(merging.initialised()) << merging.log().text();
  merging.step();
  EXPECT_EQ(merging.step(), Events({"merge first M second", "movement second M"}));
  EXPECT_EQ(merging.step(), Events({"movement second M"}));
  EXPECT_TRUE(merging.net().runtimeOk());
}

// The literal [0] in tick's call is the very value inc's parameter names.
TEST(StepCorners, SetNthChangesALiteralOfTheCallingExpressionForLaterCalls) {
  TestNet net(selfLoop("A", "char=\"tick\"") +
              "<functions>(defun inc \"0\" (v) () (set-nth 0 (+ (get-nth 0 v) 1) v) (get-nth 0 v))"
              "(defun tick \"0\" () () (set (inc [0])))</functions><tokens>" +
              token("k", "A") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  std::vector<std::string> values;
  for (const RecordedEvent& event : net.run(3)) values.push_back(event.characteristics);
  EXPECT_EQ(values, (std::vector<std::string>{"Default=1", "Default=2", "Default=3"}));
}

// The start function's split puts s_k into P before the first step, so it
// moves at time 0; the token its predicate splits off into P during P's walk
// waits for the next step, like any token that entered during a step.
TEST(StepCorners, SplitIntoAPlaceDuringItsOwnWalkAtTimeZeroWaits) {
  TestNet net("<transitions><transition id=\"T\"><inputs><input ref=\"P\"/></inputs><outputs><output ref=\"Q\"/>"
              "</outputs><predicates default=\"false\"><predicate input=\"P\" output=\"Q\">splitter</predicate>"
              "</predicates></transition></transitions><places><place id=\"P\"/><place id=\"Q\"/></places>"
              "<functions>(defun GNInit \"2;tokens.k.obj;places.P.obj\" () () (split #0 \"s\" #1 \"Default\" 1))"
              "(defun splitter \"1;places.P.obj\" () () (split tokenobj \"t\" #0 \"Default\" 2))</functions>"
              "<tokens>" +
              token("k", "P", "entering=\"5\"") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  EXPECT_EQ(net.step(), Events({"entrance t_s_k P", "movement s_k Q"}));
  EXPECT_EQ(net.step(), Events({"exit s_k Q", "entrance t_t_s_k P", "movement t_s_k Q"}));
}

// A token that entered the net at time 0, or that split made after the walk,
// carries stamp 0: for the rest of that step its place held it since the step
// began. Both places are exits, so at time 1 both tokens have left.
TEST(StepCorners, TokensMadeAfterTheWalkAtTimeZeroCountAsThereSinceItBegan) {
  TestNet net("<places><place id=\"A\"/><place id=\"B\"/></places><functions>"
              "(defun GNTrace \"3;tokens.k.obj;places.A.obj;places.B.obj\" () ()"
              " (begin (if (= time 0) (split #0 \"s\" #2 \"Default\" 1) 0) (print time (wasthere #1) (wasthere #2))))"
              "</functions><tokens>" +
              token("k", "A") + "</tokens>");
  ASSERT_TRUE(net.initialised()) << net.log().text();
  testing::internal::CaptureStdout();
  net.run(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "0\t1\t1\t\n1\t0\t0\t\n");
}

}  // namespace
