// One replication: the net is built as a server's conversation builds it,
// with a quiet log and the statistics sink instead of an events document.
#include "analysis/Replication.h"

#include <new>

#include "analysis/CapturedLog.h"
#include "analysis/StatisticsSink.h"
#include "analysis/TextFields.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"

namespace {

// What INIT answers for a net that does not load, and the step's answer to a
// runtime error whose report named no message.
constexpr const char* kInitRefused = "INIT refused: 500 GN definition error";
constexpr const char* kRuntimeError = "502 Runtime error";

// A net with its log; the log outlives the net that writes to it.
struct QuietNet {
  CapturedLog log;
  CAbstractTransition net;

  // Seeds the net's generator before loading, so that "GNInit" draws from it too.
  bool load(const std::string& path, std::uint64_t seed, EventManager* events) {
    net.random().seed(seed);
    net.prepare(&log, path, "", events);
    registerBuiltIns(net);
    return net.initialize();
  }

  std::vector<const CPlace*> places() {
    std::vector<const CPlace*> places;
    NameTable& table = net.placesTable();
    for (int i = 0; i < table.count(); ++i) places.push_back(static_cast<const CPlace*>(table.objectAt(i)));
    return places;
  }
};

ReplicationOutcome failed(std::uint64_t index, std::uint64_t seed, const std::string& what) {
  return {false, "replication " + std::to_string(index) + " (seed " + std::to_string(seed) + "): " + what, {}};
}

// Loads, steps and measures; what fails is said by the outcome.
ReplicationOutcome measure(const ReplicationPlan& plan, std::uint64_t index, StatisticsSink& sink) {
  const std::uint64_t seed = plan.seed + index;
  QuietNet quiet;
  sink.stop();
  if (!quiet.load(plan.definitionPath, seed, &sink)) return failed(index, seed, kInitRefused);
  sink.begin(quiet.places(), plan.warmup, plan.steps, plan.binWidth);
  for (int step = 1; step <= plan.steps; ++step) {
    sink.beginStep(step);
    quiet.net.step();
    if (!quiet.net.runtimeOk()) {
      const std::string& error = quiet.log.firstError();
      return failed(index, seed,
                    "runtime error in step " + std::to_string(step) + ": " + (error.empty() ? kRuntimeError : error));
    }
    sink.endStep();
  }
  ReplicationOutcome outcome{true, {}, {}};
  sink.values(outcome.values);
  return outcome;
}

}  // namespace

// An exception would otherwise end the worker thread, and with it the process.
ReplicationOutcome runReplication(const ReplicationPlan& plan, std::uint64_t index, StatisticsSink& sink) {
  try {
    return measure(plan, index, sink);
  } catch (const std::bad_alloc&) {
    return failed(index, plan.seed + index, "out of memory");
  } catch (const std::exception& error) {
    return failed(index, plan.seed + index, error.what());
  }
}

bool loadPlaceNames(const ReplicationPlan& plan, std::uint64_t index, std::vector<std::string>& names,
                    std::string& log) {
  QuietNet quiet;
  if (!quiet.load(plan.definitionPath, plan.seed + index, nullptr)) {
    log = quiet.log.text();
    return false;
  }
  names.clear();
  for (const CPlace* place : quiet.places()) names.push_back(utf8FromLatin1(quiet.net.placeName(place)));
  return true;
}
