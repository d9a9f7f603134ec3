// Shard rows and their summary: Student's t quantiles, numbers and names that
// read back exactly, shards that summarise to the same numbers in any order,
// and malformed shard text named by its line.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "analysis/ShardFile.h"
#include "analysis/Statistics.h"
#include "analysis/StudentT.h"
#include "analysis/Summary.h"

namespace {

struct QuantileRow {
  double probability;
  int degrees;
  double quantile;  // to 12 digits
};

TEST(StudentT, QuantilesMatchTheTables) {
  const QuantileRow rows[] = {{0.975, 1, 12.7062047362},  {0.975, 2, 4.30265272975},    {0.975, 5, 2.57058183564},
                              {0.975, 29, 2.04522964213}, {0.975, 1000, 1.96233908082}, {0.95, 10, 1.81246112281},
                              {0.995, 3, 5.84090930973}};
  for (const QuantileRow& row : rows) {
    EXPECT_NEAR(studentTQuantile(row.probability, row.degrees), row.quantile, 1e-9 * row.quantile)
        << row.probability << " with " << row.degrees << " degrees of freedom";
  }
}

// One replication's rows for places named `places`, `values` in their layout.
std::string shard(std::uint64_t replication, const std::vector<std::string>& places,
                  const std::vector<double>& values) {
  std::string text;
  appendShardHeader(text);
  appendShardRows(text, replication, 100 + replication, places, values);
  return text;
}

bool addText(Summary& summary, const std::string& text) {
  int line = 0;
  std::string error;
  bool added = addShardText(text, summary, line, error);
  EXPECT_TRUE(added) << line << ": " << error;
  return added;
}

TEST(ShardRows, ReadBackExactlyWithAwkwardNamesAndNumbers) {
  const std::vector<std::string> places = {"a,b", "say \"hi\"", "gr\xC3\xBC\xC3\x9F"};
  const std::vector<double> values = {0.1,
                                      1.0 / 3,
                                      5e-324,
                                      1.7976931348623157e308,
                                      1e-7,
                                      1e21,
                                      2.5e-8,
                                      123456789.123456789,
                                      std::numeric_limits<double>::quiet_NaN(),
                                      7};
  ASSERT_EQ(values.size(), statisticCount(places.size()));
  Summary summary;
  ASSERT_TRUE(addText(summary, shard(0, places, values)));
  const std::vector<SummaryLine> lines = summary.lines();
  ASSERT_EQ(lines.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (std::isnan(values[i])) {
      EXPECT_EQ(lines[i].count, 0) << "nothing measured is read back as nothing";
    } else {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(lines[i].mean), std::bit_cast<std::uint64_t>(values[i])) << i;
    }
    EXPECT_TRUE(std::isnan(lines[i].halfWidth)) << "one replication has no interval";
  }
  EXPECT_EQ(lines[3].place, "say \"hi\"");
  EXPECT_EQ(lines[6].place, "gr\xC3\xBC\xC3\x9F");
}

TEST(ShardRows, SummariseToTheSameNumbersInAnyOrder) {
  const std::vector<std::string> places = {"P"};
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> value(0.0, 1e6);
  std::vector<std::string> shards;
  for (std::uint64_t replication = 0; replication < 12; ++replication) {
    shards.push_back(shard(replication, places, {value(random), value(random), value(random), value(random)}));
  }
  Summary forward, backward;
  for (const std::string& text : shards) addText(forward, text);
  for (auto text = shards.rbegin(); text != shards.rend(); ++text) addText(backward, *text);
  const std::vector<SummaryLine> a = forward.lines(), b = backward.lines();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a[i].mean), std::bit_cast<std::uint64_t>(b[i].mean));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a[i].deviation), std::bit_cast<std::uint64_t>(b[i].deviation));
    EXPECT_EQ(a[i].count, 12);
  }
}

struct MalformedRow {
  const char* name;
  std::string text;
  int line;
  std::string error;
};

void PrintTo(const MalformedRow& row, std::ostream* out) { *out << row.name; }

class MalformedShard : public testing::TestWithParam<MalformedRow> {};

TEST_P(MalformedShard, IsRefusedAtItsLine) {
  const std::string header = "replication,seed,statistic,place,value\r\n";
  Summary summary;
  int line = 0;
  std::string error;
  EXPECT_FALSE(addShardText(GetParam().text.starts_with("!") ? GetParam().text.substr(1) : header + GetParam().text,
                            summary, line, error));
  EXPECT_EQ(line, GetParam().line);
  EXPECT_EQ(error, GetParam().error);
}

// A text starting with "!" is the whole file; any other follows the header.
INSTANTIATE_TEST_SUITE_P(
    Rows, MalformedShard,
    testing::Values(
        MalformedRow{"empty", "!", 1, "the file is empty"},
        MalformedRow{"other_header", "!replication,seed,value\n", 1,
                     "expected the header replication,seed,statistic,place,value"},
        MalformedRow{"short_row", "0,1,tokens,A\r\n", 2, "expected 5 fields, found 4"},
        MalformedRow{"replication_not_a_number", "x,1,tokens,A,1\r\n", 2, "replication 'x' is not a whole number"},
        MalformedRow{"negative_seed", "0,-1,tokens,A,1\r\n", 2, "seed '-1' is not a whole number"},
        MalformedRow{"unknown_statistic", "0,1,tokens,A,1\r\n0,1,queue,A,1\r\n", 3,
                     "no statistic 'queue' for place 'A'"},
        MalformedRow{"net_statistic_with_a_place", "0,1,time_in_net,A,1\r\n", 2,
                     "no statistic 'time_in_net' for place 'A'"},
        MalformedRow{"value_not_a_number", "0,1,stay,A,1.5x\r\n", 2, "value '1.5x' is not a number"},
        MalformedRow{"unclosed_quote", "0,1,stay,\"A\r\n", 2, "a quoted field is not closed"},
        MalformedRow{"stray_quote", "0,1,stay,A\"B,1\r\n", 2, "a quote inside a field that does not start with one"},
        MalformedRow{"cut_short", "0,1,stay,A,1\r\n0,1,tokens,A,0.", 3,
                     "the line has no line ending (the file may be cut short)"},
        MalformedRow{"another_run", "0,1,tokens,A,1\r\n1,5,tokens,A,1\r\n", 3,
                     "replication 1 has seed 5, not 2 (the run's seed 1 + 1): a row of another run"},
        MalformedRow{"repeated", "4,1,stay,\"A\nB\",1\r\n4,1,stay,\"A\nB\",2\r\n", 4,
                     "replication 4 of stay A\nB was already read"}),
    [](const testing::TestParamInfo<MalformedRow>& row) { return std::string(row.param.name); });

}  // namespace
