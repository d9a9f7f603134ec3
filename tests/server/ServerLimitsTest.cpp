// The limits read from the environment: what each variable accepts, and the
// default kept (with one complaint) for anything else.
#include <gtest/gtest.h>

#include "server/ServerLimits.h"

namespace {

using std::chrono::milliseconds;

struct LimitRow {
  const char* name;
  const char* variable;
  const char* value;
  std::string read;  // the limit as read, written as limitText shows it
  bool complained;
};

// Names the row in test listings.
void PrintTo(const LimitRow& row, std::ostream* out) { *out << row.name; }

std::string limitText(const ServerLimits& limits) {
  auto shown = [](const std::optional<milliseconds>& limit) { return limit ? secondsText(*limit) : "none"; };
  const ConversationLimits& conversation = limits.conversation;
  return std::to_string(limits.maxConnections) + " " + secondsText(conversation.handshake) + " " +
         shown(conversation.idle) + " " + shown(conversation.requestCpu);
}

class EnvironmentLimits : public testing::TestWithParam<LimitRow> {};

TEST_P(EnvironmentLimits, AreReadOrRefused) {
  const LimitRow& row = GetParam();
  std::vector<std::string> complaints;
  ServerLimits limits = readServerLimits(
      [&row](const char* name) { return std::string_view(name) == row.variable ? row.value : nullptr; }, complaints);
  EXPECT_EQ(limitText(limits), row.read);
  EXPECT_EQ(complaints.size(), row.complained ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EnvironmentLimits,
    testing::Values(LimitRow{"nothing_set", "NONE", "", "2048 60 none none", false},
                    LimitRow{"most_connections", "VANTER_MAX_CONNECTIONS", "1000000", "1000000 60 none none", false},
                    LimitRow{"too_many_connections", "VANTER_MAX_CONNECTIONS", "1000001", "2048 60 none none", true},
                    LimitRow{"fraction_of_a_second", "VANTER_IDLE_TIMEOUT", "0.25", "2048 60 0.25 none", false},
                    LimitRow{"rounds_to_nothing", "VANTER_IDLE_TIMEOUT", "0.0001", "2048 60 none none", true},
                    LimitRow{"a_year", "VANTER_STEP_LIMIT_S", "31536000", "2048 60 none 31536000", false},
                    LimitRow{"over_a_year", "VANTER_HANDSHAKE_TIMEOUT", "31536001", "2048 60 none none", true},
                    LimitRow{"leading_blank", "VANTER_HANDSHAKE_TIMEOUT", " 5", "2048 60 none none", true}),
    [](const testing::TestParamInfo<LimitRow>& row) { return std::string(row.param.name); });

}  // namespace
