// gnxp stats and summarize as programs: shards run by GNU parallel summarise
// to the single run's table, the occupancy picture, and bad input as one
// line with its exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "E2EHarness.h"
#include "ProgramRun.h"

namespace {

const std::string kGnxp = std::string(VANTER_BIN_DIR) + "/gnxp";
const std::string kQueue = std::string(VANTER_SOURCE_DIR) + "/examples/single-server-queue.xml";

class StatsRun : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vanter-stats-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string path(const std::string& name) const { return (directory_ / name).string(); }
  std::string file(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
    return path(name);
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static ProgramResult gnxp(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), kGnxp);
    return runProgram(arguments);
  }

  std::filesystem::path directory_;
};

TEST_F(StatsRun, ShardsRunByGnuParallelSummariseToTheSingleRunsTable) {
  const std::vector<std::string> run = {"stats", kQueue, "--steps", "2000", "--warmup", "100", "--seed", "42"};
  std::vector<std::string> single = run;
  single.insert(single.end(), {"--replications", "8", "--jobs", "2"});
  ProgramResult whole = gnxp(single);
  ASSERT_EQ(whole.status, 0) << whole.err;

  std::vector<std::string> shards = {"/usr/bin/parallel", "--will-cite", "--halt", "now,fail=1", kGnxp};
  shards.insert(shards.end(), run.begin(), run.end());
  shards.insert(shards.end(), {"--replications", "4", "--jobs", "1", "--first-replication", "{}", "--csv",
                               path("shard{}.csv"), ":::", "0", "4"});
  ProgramResult parallel = runProgram(shards);
  ASSERT_EQ(parallel.status, 0) << parallel.err;
  ProgramResult summary = gnxp({"summarize", path("shard4.csv"), path("shard0.csv")});
  EXPECT_EQ(summary.status, 0) << summary.err;
  EXPECT_EQ(summary.out, whole.out);
  EXPECT_NE(whole.out.find("time_in_net"), std::string::npos) << whole.out;
}

TEST_F(StatsRun, DrawsTheOccupancyPicture) {
  ProgramResult result =
      gnxp({"stats", kQueue, "--steps", "300", "--replications", "4", "--seed", "1", "--plot", path("queue.png")});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string png = read("queue.png");
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x03\x20\0\0\x01\x90", 8)) << "800 by 400 pixels";
}

struct BadInputRow {
  const char* name;
  std::string definition;  // written to net.xml, the definition of "NET"
  std::string shard;       // written to shard.csv, the file of "SHARD"
  std::vector<std::string> arguments;
  int status;
  std::string lastLine;  // standard error's last line; "FILE" here and in arguments is the test's folder
  bool printsTable;
};

void PrintTo(const BadInputRow& row, std::ostream* out) { *out << row.name; }

class StatsBadInput : public StatsRun, public testing::WithParamInterface<BadInputRow> {};

TEST_P(StatsBadInput, IsOneLineWithItsStatus) {
  const BadInputRow& row = GetParam();
  auto inFolder = [this](std::string text) {
    if (std::size_t at = text.find("FILE"); at != std::string::npos) text.replace(at, 4, directory_.string());
    return text;
  };
  std::vector<std::string> arguments;
  for (const std::string& argument : row.arguments) {
    arguments.push_back(argument == "NET"     ? file("net.xml", row.definition)
                        : argument == "SHARD" ? file("shard.csv", row.shard)
                                              : inFolder(argument));
  }
  ProgramResult result = gnxp(arguments);
  EXPECT_EQ(result.status, row.status) << result.err;
  const std::string line = inFolder(row.lastLine);
  ASSERT_GE(result.err.size(), line.size() + 1) << result.err;
  EXPECT_EQ(result.err.substr(result.err.size() - line.size() - 1), line + "\n") << result.err;
  EXPECT_EQ(result.out.starts_with("statistic"), row.printsTable) << result.out;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StatsBadInput,
    testing::Values(
        BadInputRow{"init_refused",
                    "<gn",
                    "",
                    {"stats", "NET", "--steps", "5", "--replications", "3"},
                    1,
                    "gnxp: INIT refused: 500 GN definition error",
                    false},
        BadInputRow{"runtime_error_in_one_replication",
                    definition("<places><place id=\"A\"/></places>"
                               "<functions>(defun boom \"0\" () () (if (= (random 4) 0) (sqrt \"x\") 0))</functions>"
                               "<tokens><generator id=\"g\" host=\"A\" type=\"conditional\" predicate=\"boom\" "
                               "period=\"1\"/></tokens>"),
                    "",
                    {"stats", "NET", "--steps", "2", "--replications", "3", "--seed", "10"},
                    1,
                    "gnxp: replication 1 (seed 11): runtime error in step 1: sqrt: one numeric argument expected.",
                    true},
        BadInputRow{"one_replication",
                    kEmptyNet,
                    "",
                    {"stats", "NET", "--steps", "5", "--replications", "1"},
                    0,
                    "gnxp: one replication gives no confidence interval: the means only",
                    true},
        BadInputRow{"malformed_shard",
                    "",
                    "replication,seed,statistic,place,value\r\n0,1,tokens,A,abc\r\n",
                    {"summarize", "SHARD"},
                    2,
                    "gnxp: FILE/shard.csv:2: value 'abc' is not a number",
                    false},
        BadInputRow{"shard_without_rows",
                    "",
                    "replication,seed,statistic,place,value\r\n",
                    {"summarize", "SHARD"},
                    1,
                    "gnxp: no replication's rows in the files: nothing to summarise",
                    false},
        BadInputRow{"shard_is_a_folder",
                    "",
                    "",
                    {"summarize", "FILE"},
                    2,
                    "gnxp: cannot read FILE: Is a directory",
                    false},
        BadInputRow{"unreadable_shard",
                    "",
                    "",
                    {"summarize", "FILE/none.csv"},
                    2,
                    "gnxp: cannot read FILE/none.csv: No such file or directory",
                    false}),
    [](const testing::TestParamInfo<BadInputRow>& row) { return std::string(row.param.name); });

}  // namespace
