// INIT end to end: every way a definition that parses can still fail to build
// a net answers "500 GN definition error", with the loader's own log lines
// ahead of "GN Initialization failure.".
#include <string>
#include <vector>

#include "E2EHarness.h"

namespace {

const std::string kChain =
    "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
    "<predicates default=\"true\"/>CAPACITIES</transition></transitions>";
const std::string kPlaces = "<places><place id=\"A\"/><place id=\"B\"/></places>";

std::string chain(const std::string& capacities = "") {
  std::string text = kChain;
  return text.replace(text.find("CAPACITIES"), 10, capacities);
}

// The definition of `body` with `attribute` on its root element.
std::string withRootAttribute(const std::string& body, const std::string& attribute) {
  std::string text = definition(body);
  return text.insert(text.find("<gn ") + 3, " " + attribute);
}

struct InitFailure {
  const char* title;
  std::string document;
  std::vector<std::string> lines;  // a contiguous run of the log before the failure
};

class InitFailureTest : public ServedTest, public testing::WithParamInterface<InitFailure> {};

TEST_P(InitFailureTest, AnswersDefinitionErrorAfterTheLoadersLines) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(GetParam().document, response)) << client->error();
  EXPECT_EQ(response.status, "500 GN definition error") << log();
  EXPECT_TRUE(server_->waitForLines(GetParam().lines)) << log();
  EXPECT_TRUE(server_->waitForLines({"GN Initialization failure.", "***Sent message:", "500 GN definition error",
                                     "GNXP 0.1 communication terminated..."}))
      << log();
  EXPECT_EQ(log().find("GN Initialization successful."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InitFailureTest,
    testing::Values(
        InitFailure{"capacity_matrix_with_a_word_too_many",
                    definition(kPlaces + chain("<capacities>1 2</capacities>")),
                    {"*capacity matrix", "1", "Invalid matrix definition", "***User defined functions",
                     "GN Initialization failure."}},
        InitFailure{"function_file_missing", withRootAttribute(kPlaces + chain(), "fundefs=\"nolib\""),
                    {"***User defined functions", "GN Initialization failure."}},
        InitFailure{"negative_time", withRootAttribute(kPlaces + chain(), "time=\"-1\""),
                    {"***User defined functions", "GN Initialization failure."}},
        InitFailure{"input_place_never_defined",
                    definition("<places><place id=\"B\"/></places>" + chain()),
                    {"***Undefined object found:", "A"}},
        InitFailure{"place_bound_twice",
                    definition(kPlaces + chain() +
                               "<transitions><transition id=\"U\"><inputs><input ref=\"A\"/></inputs><outputs/>"
                               "<predicates/></transition></transitions>"),
                    {"Double place binding detected"}},
        InitFailure{"start_function_gives_zero",
                    definition(kPlaces + chain() + "<functions>(defun GNInit \"0\" () () 0)</functions>"),
                    {"***User defined functions", "GN Initialization failure."}}),
    [](const testing::TestParamInfo<InitFailure>& info) { return std::string(info.param.title); });

}  // namespace
