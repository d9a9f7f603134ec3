// The step count of STEP lines and the Content-Length value rules.
#include <gtest/gtest.h>

#include <climits>

#include "server/GnxpRequest.h"

namespace {

struct StepRow {
  const char* line;
  int count;
};

// Names the row in test listings.
void PrintTo(const StepRow& row, std::ostream* out) { *out << testing::PrintToString(std::string(row.line)); }

class StepCount : public testing::TestWithParam<StepRow> {};

TEST_P(StepCount, FollowsTheFirstBlank) { EXPECT_EQ(stepCount(GetParam().line), GetParam().count) << GetParam().line; }

INSTANTIATE_TEST_SUITE_P(Rows, StepCount,
                         testing::Values(StepRow{"STEP", 1}, StepRow{"STEP 10", 10}, StepRow{"STEP 0", 0},
                                         StepRow{"STEP -2", -2}, StepRow{"STEP x", 0}, StepRow{"STEP +3", 3},
                                         StepRow{"STEP \t 7", 7}, StepRow{"STEP 12abc", 12}, StepRow{"XSTEPY", 1},
                                         StepRow{"STEP\t5", 1}, StepRow{"A STEP 4", 0},
                                         StepRow{"STEP 99999999999", INT_MAX}, StepRow{"STEP -99999999999", INT_MIN}));

struct LengthRow {
  const char* afterColon;
  std::int64_t before;
  std::int64_t after;
};

// Names the row in test listings.
void PrintTo(const LengthRow& row, std::ostream* out) { *out << testing::PrintToString(std::string(row.afterColon)); }

class ContentLength : public testing::TestWithParam<LengthRow> {};

TEST_P(ContentLength, ReadsFromTheSecondCharacterAfterTheColon) {
  EXPECT_EQ(contentLengthAfter(GetParam().afterColon, GetParam().before), GetParam().after)
      << "'" << GetParam().afterColon << "'";
}

INSTANTIATE_TEST_SUITE_P(Rows, ContentLength,
                         testing::Values(LengthRow{" 1834", -1, 1834}, LengthRow{"1834", -1, 834},
                                         LengthRow{"x12", 5, 12}, LengthRow{"", 7, 7}, LengthRow{" ", 7, 7},
                                         LengthRow{" abc", 7, 7}, LengthRow{"  12", -1, 12}, LengthRow{" 0", -1, 0},
                                         LengthRow{" -1", 9, -1}, LengthRow{" -5", 9, -1},
                                         LengthRow{" 67108864", -1, kMaxContentLength}, LengthRow{" 67108865", 9, -1},
                                         LengthRow{" 99999999999999999999999", 9, -1}));

TEST(LeadingNumber, NeedsADigitAfterTheSign) {
  EXPECT_EQ(leadingNumber("-"), std::nullopt);
  EXPECT_EQ(leadingNumber(" + 3"), std::nullopt);
  EXPECT_EQ(leadingNumber("\n-0042z"), -42);
}

}  // namespace
