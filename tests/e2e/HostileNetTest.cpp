// Definitions and GNVCFL programs that once took the whole server down, one
// row per kind of fault: the server answers or refuses, and the next client
// is served as if nothing had happened.
#include <string>

#include "E2EHarness.h"

namespace {

// The pass-through net with `functions` and k's value `kValue` (type and text).
std::string passThroughWith(const std::string& functions, const std::string& kValue = "type=\"double\">1") {
  return definition(
      "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
      "<predicates default=\"true\"/></transition></transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
      "<functions>" + functions + "</functions><tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" " +
      kValue + "</characteristic></token></tokens>");
}

std::string nestedPlaces(int depth) {
  std::string open, close;
  for (int level = 0; level < depth; ++level) {
    open += "<places>";
    close += "</places>";
  }
  return definition(open + close);
}

struct HostileRow {
  const char* name;
  std::string definition;
  const char* initStatus;
  const char* stepStatus;  // after STEP 5; null: no STEP
  const char* logText;     // found in the server's log; null: not checked
  const char* errorText;   // found on the server's standard error; null: not checked
};

void PrintTo(const HostileRow& row, std::ostream* out) { *out << row.name; }

class HostileNet : public ServedTest, public testing::WithParamInterface<HostileRow> {};

TEST_P(HostileNet, IsAnsweredAndTheNextClientIsServed) {
  const HostileRow& row = GetParam();
  auto hostile = identified();
  GnxpResponse response;
  ASSERT_TRUE(hostile->init(row.definition, response)) << hostile->error();
  EXPECT_EQ(response.status, row.initStatus) << log();
  if (row.stepStatus != nullptr) {
    ASSERT_TRUE(hostile->step(5, response)) << hostile->error();
    EXPECT_EQ(response.status, row.stepStatus) << log();
  }
  if (row.logText != nullptr) {
    EXPECT_TRUE(server_->waitForLines({"***Primitive RunTime error:"})) << log();
    EXPECT_NE(log().find(row.logText), std::string::npos) << log();
  }
  if (row.errorText != nullptr) {
    EXPECT_NE(server_->standardError().find(row.errorText), std::string::npos) << server_->standardError();
  }

  auto next = identified();
  ASSERT_TRUE(next->init(kPassThrough, response)) << next->error();
  EXPECT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(next->step(3, response)) << next->error();
  EXPECT_EQ(response.status, "200 Request completed sucessfully") << log();
  EXPECT_NE(response.body.find("<exit token=\"k\" place=\"B\"/>"), std::string::npos) << response.body;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileNet,
    testing::Values(
        // The call's constant [0] keeps, from time 0 on, the list of A's tokens.
        HostileRow{"reference_to_a_token_that_left",
                   passThroughWith("(defun GNTrace \"1;places.A.obj\" () () (hold [0] (tokens-list #0) time)) "
                                   "(defun hold \"0\" (box list t) () (if (= t 0) (set-nth 0 list box) "
                                   "(get-named (get-nth 0 (get-nth 0 box)) \"Default\")))"),
                   "200 Request completed successfully", "502 Runtime error",
                   "The token k has left the net: a reference to it can no longer be used.", nullptr},
        HostileRow{"transitions_outside_the_definition_namespace",
                   definition("<transitions xmlns=\"\"><transition id=\"T\" lifeTime=\"-1\"><predicates default="
                              "\"true\"/><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
                              "</transition></transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
                              "<tokens><token id=\"k\" host=\"A\"/></tokens>"),
                   "200 Request completed successfully", "200 Request completed sucessfully", nullptr, nullptr},
        HostileRow{"string_doubled_without_end",
                   passThroughWith("(defun GNTrace \"0\" () (s) (let s \"ab\") (while 1 (let s (+ s s))))"),
                   "200 Request completed successfully", "502 Runtime error", "would pass the limits of a value",
                   nullptr},
        HostileRow{"definition_nested_a_hundred_thousand_deep", nestedPlaces(100000), "500 GN definition error",
                   nullptr, nullptr, "refused: elements nested deeper than 32"}),
    [](const testing::TestParamInfo<HostileRow>& row) { return std::string(row.param.name); });

}  // namespace
