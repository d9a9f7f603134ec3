// The statistics sink's share of a replication: the single-server queue of
// the examples stepped with no event sink and with StatisticsSink, in turn in
// one process, three rounds each; prints the best nanoseconds per step of each
// and their ratio.
// `analysis_sink_bench [STEPS]` makes STEPS steps per figure (default 2,000,000).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/StatisticsSink.h"
#include "base/SimpleInterface.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "model/Place.h"

namespace {

constexpr int kRounds = 3;

class SilentLog final : public CSimpleInterface {
 public:
  void write(std::string_view) override {}
};

// Nanoseconds per step of `steps` steps of the queue, measured by `sink` when there is one.
double nanosecondsPerStep(StatisticsSink* sink, int steps) {
  SilentLog log;
  CAbstractTransition net;
  net.random().seed(1);
  net.prepare(&log, std::string(VANTER_SOURCE_DIR) + "/examples/single-server-queue.xml", "", sink);
  registerBuiltIns(net);
  if (!net.initialize()) std::exit(1);
  std::vector<const CPlace*> places;
  for (int i = 0; i < net.placesTable().count(); ++i) {
    places.push_back(static_cast<const CPlace*>(net.placesTable().objectAt(i)));
  }
  if (sink != nullptr) sink->begin(places, 0, steps, 0);
  const auto start = std::chrono::steady_clock::now();
  for (int step = 1; step <= steps; ++step) {
    if (sink != nullptr) sink->beginStep(step);
    net.step();
    if (sink != nullptr) sink->endStep();
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / steps;
}

}  // namespace

int main(int argc, char** argv) {
  const int steps = argc > 1 ? std::atoi(argv[1]) : 2'000'000;
  initializeXerces();
  StatisticsSink sink;
  double bare = 1e300, measured = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    bare = std::min(bare, nanosecondsPerStep(nullptr, steps));
    measured = std::min(measured, nanosecondsPerStep(&sink, steps));
  }
  std::printf(
      "single-server queue, %d steps, best of %d: no sink %.1f ns/step, statistics sink %.1f ns/step, "
      "ratio %.3f\n",
      steps, kRounds, bare, measured, measured / bare);
  terminateXerces();
  return 0;
}
