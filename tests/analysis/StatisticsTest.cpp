// The statistics of replications: exact values on nets whose every step is
// known, the single-server queue of the examples against its theory and
// Little's law, independence from the number of threads, and a replication
// that fails among others that do not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "analysis/Replications.h"
#include "analysis/ShardFile.h"
#include "analysis/Summary.h"
#include "model/DefinitionParser.h"

namespace {

// A definition in a file of its own (tests run as processes side by side),
// removed with the object.
class DefinitionFile {
 public:
  explicit DefinitionFile(const std::string& body)
      : path_(std::filesystem::temp_directory_path() /
              ("vanter-analysis-" + std::to_string(getpid()) + "-" + std::to_string(++count_) + ".xml")) {
    std::ofstream(path_) << "<gn xmlns=\"urn:vanterserver:gn-definition\">" << body << "</gn>";
  }
  ~DefinitionFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  static inline int count_ = 0;
  std::filesystem::path path_;
};

struct RunResult {
  std::vector<std::string> places;
  std::vector<std::string> failures;
  ReplicationsDone done;
  Summary summary;
};

RunResult run(const ReplicationPlan& plan) {
  initializeXerces();
  RunResult result;
  std::string log;
  EXPECT_TRUE(loadPlaceNames(plan, plan.firstReplication, result.places, log)) << log;
  result.done = runReplications(plan, static_cast<int>(result.places.size()), [](int) {});
  int line = 0;
  std::string error;
  EXPECT_TRUE(addShardText(shardText(plan, result.places, result.done, result.failures), result.summary, line, error))
      << error;
  return result;
}

ReplicationPlan planFor(const std::string& path, int steps, int warmup, int replications, int jobs = 2) {
  ReplicationPlan plan;
  plan.definitionPath = path;
  plan.steps = steps;
  plan.warmup = warmup;
  plan.seed = 1;
  plan.replications = replications;
  plan.jobs = jobs;
  return plan;
}

// "statistic place mean sd n" per line, numbers as %g.
std::vector<std::string> compact(const std::vector<SummaryLine>& lines) {
  std::vector<std::string> texts;
  for (const SummaryLine& line : lines) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%g %g %d", line.mean, line.deviation, line.count);
    texts.push_back(line.statistic + " " + line.place + " " + numbers);
  }
  return texts;
}

const SummaryLine& lineOf(const std::vector<SummaryLine>& lines, const std::string& statistic,
                          const std::string& place) {
  for (const SummaryLine& line : lines) {
    if (line.statistic == statistic && line.place == place) return line;
  }
  static const SummaryLine kMissing{"missing", "missing", 0, 0.0, 0.0, 0.0};
  ADD_FAILURE() << statistic << " " << place << " is not in the summary";
  return kMissing;
}

// A generator puts a token into A every second step; it moves to B at once
// and leaves the net the step after.
const std::string kEverySecondStep =
    "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
    "<predicates default=\"true\"/></transition></transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
    "<tokens><generator id=\"g\" host=\"A\" type=\"periodic\" predicate=\"true\" period=\"2\"/></tokens>";

// Token k enters A in step 1 and may move on to B from step 4 (time 3) on.
const std::string kHeldThreeSteps =
    "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
    "<predicates default=\"false\"><predicate input=\"A\" output=\"B\">due</predicate></predicates></transition>"
    "</transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
    "<functions>(defun due \"0\" () () (&gt; time 2))</functions><tokens><token id=\"k\" host=\"A\"/></tokens>";

// A token a step enters A and moves on to M, which keeps the first for good
// and merges every later one into it; nothing ever reaches Out or leaves.
const std::string kMergeEveryStep =
    "<transitions><transition id=\"In\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"M\"/></outputs>"
    "<predicates default=\"true\"/></transition><transition id=\"Hold\"><inputs><input ref=\"M\"/></inputs>"
    "<outputs><output ref=\"Out\"/></outputs><predicates default=\"false\"/></transition></transitions>"
    "<places><place id=\"A\"/><place id=\"M\" merge=\"true\"/><place id=\"Out\"/></places>"
    "<tokens><generator id=\"g\" host=\"A\" type=\"periodic\" predicate=\"true\" period=\"1\"/></tokens>";

struct ExactRow {
  const char* name;
  const std::string* net;
  int steps;
  int warmup;
  std::vector<std::string> lines;
};

void PrintTo(const ExactRow& row, std::ostream* out) { *out << row.name; }

class ExactStatistics : public testing::TestWithParam<ExactRow> {};

TEST_P(ExactStatistics, AreCountedStepByStep) {
  const ExactRow& row = GetParam();
  DefinitionFile file(*row.net);
  RunResult result = run(planFor(file.path(), row.steps, row.warmup, 2));
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(compact(result.summary.lines()), row.lines);
}

INSTANTIATE_TEST_SUITE_P(Rows, ExactStatistics,
                         testing::Values(
                             // B holds a token at the end of steps 2, 4, ..., A at the end of 1, 3, ...;
                             // the token entering in step 9 leaves in step 11, after the run.
                             ExactRow{"every_second_step",
                                      &kEverySecondStep,
                                      10,
                                      0,
                                      {"tokens B 0.5 0 2", "throughput B 0.5 0 2", "stay B 1 0 2", "tokens A 0.5 0 2",
                                       "throughput A 0.5 0 2", "stay A 1 0 2", "time_in_net  2 0 2"}},
                             // Steps 3 to 6 are measured: k, in A since step 1, leaves it in step 4
                             // (a stay of 3 that counts whole) and the net in step 5.
                             ExactRow{
                                 "stay_begun_in_the_warmup",
                                 &kHeldThreeSteps,
                                 6,
                                 2,
                                 {"tokens B 0.25 0 2", "throughput B 0.25 0 2", "stay B 1 0 2", "tokens A 0.25 0 2",
                                  "throughput A 0 0 2", "stay A 3 0 2", "time_in_net  4 0 2"}},
                             // Merges are arrivals that stay no time; M's first token never leaves, so
                             // its stay is not known; Out and the net measure no stay at all.
                             ExactRow{"merge_every_step",
                                      &kMergeEveryStep,
                                      5,
                                      0,
                                      {"tokens M 0.8 0 2", "throughput M 0.8 0 2", "stay M 0 0 2", "tokens Out 0 0 2",
                                       "throughput Out 0 0 2", "stay Out nan nan 0", "tokens A 1 0 2",
                                       "throughput A 1 0 2", "stay A 1 0 2", "time_in_net  nan nan 0"}}),
                         [](const testing::TestParamInfo<ExactRow>& row) { return std::string(row.param.name); });

// The queue of examples/single-server-queue.xml: p = 2/8, q = 3/8.
constexpr double kArrival = 2.0 / 8;
constexpr double kService = 3.0 / 8;

class SingleServerQueue : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    plan_ = planFor(std::string(VANTER_SOURCE_DIR) + "/examples/single-server-queue.xml", 10000, 500, 30, 2);
    queue_ = new RunResult(run(plan_));
  }
  static void TearDownTestSuite() { delete queue_; }

  static inline ReplicationPlan plan_;
  static inline RunResult* queue_ = nullptr;
};

// docs/output-analysis.md derives the mean number in the system (Queue and
// Server), which must lie within the interval a run reports for it. The
// server's occupancy p/q, its mean stay 1/q and the throughput p of every
// place are checked as well: with six intervals at once each is given three
// half-widths, so that chance alone would fail one about once in a thousand seeds.
TEST_F(SingleServerQueue, MatchesTheTheoryWithinTheIntervals) {
  Summary system;
  const std::size_t server = 1, queue = 2;  // Done, Server, Queue
  ASSERT_EQ(queue_->places, (std::vector<std::string>{"Done", "Server", "Queue"}));
  for (std::size_t i = 0; i < queue_->done.outcomes.size(); ++i) {
    const std::vector<double>& values = queue_->done.outcomes[i].values;
    system.add("tokens", "system", i, values[3 * server] + values[3 * queue]);
  }
  const SummaryLine inSystem = system.lines().at(0);
  const double theory = kArrival * (1 + kService - 2 * kArrival) / (kService - kArrival);
  EXPECT_NEAR(inSystem.mean, theory, inSystem.halfWidth);
  const std::vector<SummaryLine> lines = queue_->summary.lines();
  auto expectNear = [&](const std::string& statistic, const std::string& place, double value) {
    const SummaryLine& line = lineOf(lines, statistic, place);
    EXPECT_NEAR(line.mean, value, 3 * line.halfWidth) << statistic << " " << place;
  };
  expectNear("tokens", "Server", kArrival / kService);
  expectNear("stay", "Server", 1 / kService);
  for (const std::string& place : queue_->places) expectNear("throughput", place, kArrival);
}

// tokens = throughput x stay, each side within its intervals (the product's
// to first order).
TEST_F(SingleServerQueue, KeepsLittlesLawWithinTheIntervals) {
  const std::vector<SummaryLine> lines = queue_->summary.lines();
  for (const std::string& place : queue_->places) {
    const SummaryLine& tokens = lineOf(lines, "tokens", place);
    const SummaryLine& throughput = lineOf(lines, "throughput", place);
    const SummaryLine& stay = lineOf(lines, "stay", place);
    const double margin = tokens.halfWidth + throughput.halfWidth * stay.mean + throughput.mean * stay.halfWidth;
    EXPECT_NEAR(tokens.mean, throughput.mean * stay.mean, margin) << place;
  }
}

TEST_F(SingleServerQueue, GivesTheSameTableOnOneThreadAsOnTwo) {
  ReplicationPlan alone = plan_;
  alone.jobs = 1;
  EXPECT_EQ(formatTable(run(alone).summary.lines()), formatTable(queue_->summary.lines()));
}

TEST(FailingReplication, IsNamedWithItsSeedWhileTheOthersAreReported) {
  DefinitionFile file(
      "<places><place id=\"A\"/></places>"
      "<functions>(defun boom \"0\" () () (if (= (random 4) 0) (sqrt \"x\") 0))</functions>"
      "<tokens><generator id=\"g\" host=\"A\" type=\"conditional\" predicate=\"boom\" period=\"1\"/></tokens>");
  ReplicationPlan plan = planFor(file.path(), 3, 0, 3);
  plan.seed = 10;
  plan.firstReplication = 2;
  RunResult result = run(plan);
  EXPECT_EQ(result.failures,
            (std::vector<std::string>{
                "replication 3 (seed 13): runtime error in step 1: sqrt: one numeric argument expected.",
                "replication 4 (seed 14): runtime error in step 3: sqrt: one numeric argument expected."}));
  EXPECT_EQ(lineOf(result.summary.lines(), "tokens", "A").count, 1);
}

}  // namespace
