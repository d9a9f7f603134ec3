// The text form of the arc capacity matrix: words split by runs of spaces only,
// exact word counts, and the refusals at the text and word limits.
#include "model/CapacityText.h"

#include "RecordingLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Cells = std::vector<std::vector<int>>;

struct CapacityCase {
  const char* title;
  std::string text;
  int rows;
  int columns;
  bool ok;
  Cells cells;                       // when ok
  std::vector<std::string> logged;   // the words and messages, in order
};

class CapacityText : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(CapacityText, ReadsOrRefuses) {
  const CapacityCase& c = GetParam();
  RecordingLog log;
  Cells cells;
  EXPECT_EQ(readCapacityText(c.text, c.rows, c.columns, "T1", log, cells), c.ok);
  if (c.ok) {
    EXPECT_EQ(cells, c.cells);
  }
  EXPECT_EQ(log.messages(), c.logged);
}

const char* kInvalid = "Invalid matrix definition";

INSTANTIATE_TEST_SUITE_P(
    Rules, CapacityText,
    ::testing::Values(
        CapacityCase{"FourNumbers", "1 2 3 4", 2, 2, true, {{1, 2}, {3, 4}}, {"1", "2", "3", "4"}},
        CapacityCase{"DoubledAndTrailingSpaces", "1  2   3 4 ", 2, 2, true, {{1, 2}, {3, 4}}, {"1", "2", "3", "4"}},
        CapacityCase{"ThreeNumbers", "1 2 3", 2, 2, false, {}, {"1", "2", "3", kInvalid}},
        CapacityCase{"FiveNumbers", "1 2 3 4 5", 2, 2, false, {}, {"1", "2", "3", "4", kInvalid}},
        // A leading space gives an empty first word, read as 0; the last word is then too many.
        CapacityCase{"LeadingSpace", " 1 2 3 4", 2, 2, false, {}, {"", "1", "2", "3", kInvalid}},
        CapacityCase{"LeadingSpaceFits", " 7 8 9", 2, 2, true, {{0, 7}, {8, 9}}, {"", "7", "8", "9"}},
        // Tabs and line breaks belong to words: "1\t2" is one word worth 1.
        CapacityCase{"TabInsideWord", "1\t2 3\n4 5 6", 2, 2, true, {{1, 3}, {5, 6}}, {"1\t2", "3\n4", "5", "6"}},
        CapacityCase{"NonNumericWordIsZero", "x -3 +4 9z", 2, 2, true, {{0, -3}, {4, 9}}, {"x", "-3", "+4", "9z"}},
        CapacityCase{"NoCellsNoText", "", 0, 3, true, {}, {}},
        CapacityCase{"NoCellsButAWord", "5", 0, 3, false, {}, {kInvalid}},
        CapacityCase{"EmptyTextForOneCell", "", 1, 1, false, {}, {kInvalid}}),
    [](const ::testing::TestParamInfo<CapacityCase>& info) { return std::string(info.param.title); });

TEST(CapacityTextLimits, TextOf219CharactersIsReadAndLongerIsRefused) {
  RecordingLog log;
  Cells cells;
  const int words = 110;  // "1 1 ... 1": 110 words, 219 characters
  std::string text;
  for (int i = 1; i < words; ++i) text += "1 ";
  text += "1";
  ASSERT_EQ(text.size(), kMaxCapacityText);
  EXPECT_TRUE(readCapacityText(text, 1, words, "T1", log, cells));
  log.reset();
  EXPECT_FALSE(readCapacityText(text + "1", 1, words + 1, "T1", log, cells));
  EXPECT_EQ(log.messages(), std::vector<std::string>{"capacity text longer than 219 characters refused in transition T1"});
}

TEST(CapacityTextLimits, WordOf52CharactersIsRefused) {
  RecordingLog log;
  Cells cells;
  std::string fits(kMaxCapacityWord, '7');
  EXPECT_TRUE(readCapacityText(fits, 1, 1, "T1", log, cells));
  std::string tooLong(kMaxCapacityWord + 1, '7');
  log.reset();
  EXPECT_FALSE(readCapacityText("1 " + tooLong, 1, 2, "T1", log, cells));
  EXPECT_EQ(log.messages(),
            (std::vector<std::string>{"1", "capacity word longer than 51 characters refused in transition T1: " + tooLong}));
}

}  // namespace
