// gnxp's last line of defence: whatever escapes a run is one line and status 1.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <stdexcept>

#include "client/NetRunner.h"

namespace {

struct FailureRow {
  const char* name;
  std::function<int()> body;
  int status;
  std::string written;
};

// Names the row in test listings.
void PrintTo(const FailureRow& row, std::ostream* out) { *out << row.name; }

class EscapingFailure : public testing::TestWithParam<FailureRow> {};

// Regression: std::bad_alloc escaping a run ended gnxp in an abort.
TEST_P(EscapingFailure, IsOneLineAndAStatus) {
  std::FILE* errors = std::tmpfile();
  ASSERT_NE(errors, nullptr);
  EXPECT_EQ(reportingFailures(GetParam().body, errors), GetParam().status);
  std::rewind(errors);
  char text[256] = {};
  std::size_t size = std::fread(text, 1, sizeof text - 1, errors);
  std::fclose(errors);
  EXPECT_EQ(std::string(text, size), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EscapingFailure,
    testing::Values(FailureRow{"no_failure", [] { return 3; }, 3, ""},
                    FailureRow{"out_of_memory", []() -> int { throw std::bad_alloc(); }, 1, "gnxp: out of memory\n"},
                    FailureRow{"library_error", []() -> int { throw std::length_error("basic_string::_M_create"); },
                               1, "gnxp: basic_string::_M_create\n"},
                    FailureRow{"anything_else", []() -> int { throw 42; }, 1, "gnxp: unexpected error\n"}),
    [](const testing::TestParamInfo<FailureRow>& row) { return std::string(row.param.name); });

}  // namespace
