// gnxp's command line and its step batches.
#include <gtest/gtest.h>

#include "client/GnxpOptions.h"

namespace {

struct OptionsRow {
  const char* name;
  std::vector<std::string> arguments;
  std::string error;  // empty: accepted
};

// Names the row in test listings.
void PrintTo(const OptionsRow& row, std::ostream* out) { *out << row.name; }

class CommandLine : public testing::TestWithParam<OptionsRow> {};

TEST_P(CommandLine, IsAcceptedOrRefusedWithItsReason) {
  GnxpOptions options;
  std::string error;
  bool accepted = parseGnxpOptions(GetParam().arguments, options, error);
  EXPECT_EQ(accepted, GetParam().error.empty());
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLine,
    testing::Values(
        OptionsRow{"plain_run", {"run", "net.xml"}, ""},
        OptionsRow{"everything_in_process", {"run", "n.xml", "--steps", "10", "--batch", "3", "--seed", "7"}, ""},
        OptionsRow{"remote", {"run", "n.xml", "--host", "localhost", "--port", "4000", "--steps", "0"}, ""},
        OptionsRow{"no_command", {}, "no command (try gnxp --help)"},
        OptionsRow{"no_definition", {"run"}, "expected: gnxp run DEFINITION.xml [options]"},
        OptionsRow{"other_command", {"walk", "n.xml"}, "unknown command walk (try gnxp --help)"},
        OptionsRow{"missing_value", {"run", "n.xml", "--steps"}, "missing value for --steps"},
        OptionsRow{"stray_word", {"run", "n.xml", "extra"}, "unexpected extra"},
        OptionsRow{"unknown_option", {"run", "n.xml", "--fast", "1"}, "unknown option --fast"},
        OptionsRow{"negative_steps", {"run", "n.xml", "--steps", "-1"}, "invalid value for --steps: '-1'"},
        OptionsRow{"steps_not_a_number", {"run", "n.xml", "--steps", "3x"}, "invalid value for --steps: '3x'"},
        OptionsRow{"zero_batch", {"run", "n.xml", "--batch", "0"}, "invalid value for --batch: '0'"},
        OptionsRow{"port_zero", {"run", "n.xml", "--host", "h", "--port", "0"}, "invalid value for --port: '0'"},
        OptionsRow{
            "port_too_big", {"run", "n.xml", "--host", "h", "--port", "65536"}, "invalid value for --port: '65536'"},
        OptionsRow{"port_without_host", {"run", "n.xml", "--port", "4000"}, "--port needs --host"},
        OptionsRow{"seed_on_a_server",
                   {"run", "n.xml", "--host", "h", "--seed", "1"},
                   "--seed applies to in-process runs only; a server reads VANTER_SEED"},
        OptionsRow{"records_remote", {"run", "n.xml", "--format", "jsonl", "--host", "h"}, ""},
        OptionsRow{"unknown_format", {"run", "n.xml", "--format", "json"}, "invalid value for --format: 'json'"},
        OptionsRow{"records_in_batches",
                   {"run", "n.xml", "--format", "csv", "--batch", "2"},
                   "--batch applies to --format xml only: csv and jsonl number every step"},
        OptionsRow{"stats_option_on_run", {"run", "n.xml", "--jobs", "2"}, "--jobs does not apply to gnxp run"},
        OptionsRow{"stats_everything",
                   {"stats", "n.xml", "--steps", "9", "--replications", "1", "--warmup", "8", "--seed", "3", "--jobs",
                    "4", "--first-replication", "10", "--csv", "r.csv", "--plot", "p.png"},
                   ""},
        OptionsRow{"stats_without_replications",
                   {"stats", "n.xml", "--steps", "9"},
                   "gnxp stats needs --steps N and --replications R"},
        OptionsRow{"stats_warmup_too_long",
                   {"stats", "n.xml", "--steps", "9", "--replications", "2", "--warmup", "9"},
                   "--warmup (9) must be less than --steps (9): no step would be measured"},
        OptionsRow{"stats_shard_without_seed",
                   {"stats", "n.xml", "--steps", "9", "--replications", "2", "--first-replication", "2"},
                   "--first-replication needs --seed: the shards of a run share one seed"},
        OptionsRow{"stats_zero_replications",
                   {"stats", "n.xml", "--steps", "9", "--replications", "0"},
                   "invalid value for --replications: '0'"},
        OptionsRow{"run_option_on_stats", {"stats", "n.xml", "--host", "h"}, "--host does not apply to gnxp stats"},
        OptionsRow{"summarize_nothing", {"summarize"}, "expected: gnxp summarize FILE..."}),
    [](const testing::TestParamInfo<OptionsRow>& row) { return std::string(row.param.name); });

TEST(CommandLineValues, AreStored) {
  GnxpOptions options;
  std::string error;
  ASSERT_TRUE(parseGnxpOptions({"run", "a b.xml", "--steps", "12", "--batch", "5", "--host", "h", "--port", "99"},
                               options, error));
  EXPECT_EQ(options.definitionPath, "a b.xml");
  EXPECT_EQ(options.steps, 12);
  EXPECT_EQ(options.batch, 5);
  EXPECT_EQ(options.host, "h");
  EXPECT_EQ(options.port, 99);
  EXPECT_FALSE(options.seed.has_value());
  ASSERT_TRUE(parseGnxpOptions({"run", "n.xml", "--seed", "18446744073709551615"}, options, error));
  EXPECT_EQ(options.seed, 18446744073709551615ull);
  EXPECT_EQ(options.steps, 1) << "options start from their defaults";
  ASSERT_TRUE(parseGnxpOptions({"--help"}, options, error));
  EXPECT_TRUE(options.help);
  ASSERT_TRUE(parseGnxpOptions({"stats", "n.xml", "--steps", "9", "--replications", "5", "--warmup", "2", "--jobs", "3",
                                "--seed", "8", "--first-replication", "10", "--csv", "r.csv", "--plot", "p.png"},
                               options, error));
  EXPECT_EQ(options.command, GnxpCommand::Stats);
  EXPECT_EQ(std::vector<int>({options.steps, options.replications, options.warmup, options.jobs}),
            std::vector<int>({9, 5, 2, 3}));
  EXPECT_EQ(options.seed, 8u);
  EXPECT_EQ(options.firstReplication, 10u);
  EXPECT_EQ(options.csvPath + " " + options.plotPath, "r.csv p.png");
  ASSERT_TRUE(parseGnxpOptions({"summarize", "a.csv", "--b.csv"}, options, error));
  EXPECT_EQ(options.shardPaths, (std::vector<std::string>{"a.csv", "--b.csv"}));
}

struct BatchRow {
  int steps;
  int batch;
  std::vector<int> batches;
};

// Names the row in test listings.
void PrintTo(const BatchRow& row, std::ostream* out) { *out << row.steps << " by " << row.batch; }

class Batches : public testing::TestWithParam<BatchRow> {};

TEST_P(Batches, SplitTheStepsIntoRequests) {
  EXPECT_EQ(stepBatches(GetParam().steps, GetParam().batch), GetParam().batches);
}

INSTANTIATE_TEST_SUITE_P(Rows, Batches,
                         testing::Values(BatchRow{3, 0, {3}}, BatchRow{0, 0, {0}}, BatchRow{0, 4, {0}},
                                         BatchRow{10, 3, {3, 3, 3, 1}}, BatchRow{9, 3, {3, 3, 3}}, BatchRow{2, 5, {2}},
                                         BatchRow{3, 1, {1, 1, 1}}));

}  // namespace
