// Allocation seen from the statistics: the sink allocates nothing per event
// or step, so a replication costs what the engine costs; and a replication
// that runs out of memory fails alone. This process's every allocation is
// counted, and large ones can be refused.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#include "analysis/Replications.h"
#include "analysis/StatisticsSink.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"
#include "model/Token.h"

namespace {

std::atomic<long> allocations{0};
// Allocations of this many bytes or more fail while it is not 0.
std::atomic<std::size_t> refusedFrom{0};

}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  const std::size_t limit = refusedFrom;
  if (limit != 0 && size >= limit) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
// The library's temporary buffers ask without exceptions; they are freed by the delete below.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  ++allocations;
  return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

TEST(StatisticsSink, AllocatesNothingPerEventOrStep) {
  CAbstractTransition net;
  CPlace queue(net), server(net), done(net);
  std::vector<std::unique_ptr<CToken>> tokens;
  for (int i = 0; i < 1000; ++i) tokens.push_back(std::make_unique<CToken>(net));
  StatisticsSink sink;
  std::vector<double> values;
  constexpr int kSteps = 3000;
  sink.begin({&queue, &server, &done}, 100, kSteps, 7);
  const long before = allocations;
  for (int step = 1; step <= kSteps; ++step) {
    sink.beginStep(step);
    const CToken& token = *tokens[static_cast<std::size_t>(step) % tokens.size()];
    const CToken& other = *tokens[static_cast<std::size_t>(step + 500) % tokens.size()];
    sink.entrance(token, queue);
    sink.movement(other, server);
    sink.merge(other, done, token);
    sink.exit(token, done);
    sink.endStep();
  }
  EXPECT_EQ(allocations - before, 0);
  sink.values(values);
  EXPECT_EQ(values.size(), 10u);
}

// Regression: memory running out in one replication's step ended the whole
// run in an abort. Here a step doubles a string to 8 MiB when (random 4) is
// 0, and allocations from 4 MiB on fail.
TEST(Replications, RunningOutOfMemoryFailsOneReplicationAlone) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vanter-memory-" + std::to_string(getpid()) + ".xml");
  std::ofstream(path) << "<gn xmlns=\"urn:vanterserver:gn-definition\"><places><place id=\"A\"/></places>"
                         "<functions>(defun grow \"0\" () (s n) (let s \"x\") (let n 0)"
                         " (if (= (random 4) 0) (while (&lt; n 23) (let s (+ s s)) (let n (+ n 1))) 0) 0)</functions>"
                         "<tokens><generator id=\"g\" host=\"A\" type=\"conditional\" predicate=\"grow\" "
                         "period=\"1\"/></tokens></gn>";
  initializeXerces();
  ReplicationPlan plan;
  plan.definitionPath = path.string();
  plan.steps = 2;
  plan.seed = 10;
  plan.replications = 3;
  plan.jobs = 2;
  refusedFrom = 4 << 20;
  const ReplicationsDone done = runReplications(plan, 1, [](int) {});
  refusedFrom = 0;
  std::filesystem::remove(path);
  ASSERT_EQ(done.outcomes.size(), 3u);
  EXPECT_TRUE(done.outcomes[0].ok && done.outcomes[2].ok) << done.outcomes[0].failure << done.outcomes[2].failure;
  EXPECT_EQ(done.outcomes[1].failure, "replication 1 (seed 11): out of memory");
}

}  // namespace
