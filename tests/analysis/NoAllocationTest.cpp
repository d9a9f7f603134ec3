// The statistics sink allocates nothing per event or step: a replication
// costs what the engine costs. Every allocation of this process is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "analysis/StatisticsSink.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/Token.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
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

}  // namespace
