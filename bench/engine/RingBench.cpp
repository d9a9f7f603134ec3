// Token moves per second on ring nets: 100 places in a ring, each feeding the
// next through its own transition, with 100, 1,000 and 10,000 tokens that all
// move in every step. (a) constant-true predicates; (b) a small GNVCFL predicate
// on every arc; (c) as (a), with every place given a capacity it never reaches,
// so that each move tests it. Characteristic functions are ID. Each size has
// two figures: whole steps, each one STEP request's worth of work (the events
// document built by XMLEventSender and serialised), and the engine alone,
// with no document open, which tells the cost of moving from the cost of
// reporting. The three sizes take turns for several rounds and each figure
// is the fastest round, so that a burst of other work on the machine does
// not pass for a cost of size. Each net is built, stepped and destroyed on a
// thread of its own, as a conversation's net is in the server: the blocks a
// thread keeps for reuse (token entries, numbers) then start empty for every
// net instead of handing one net the scattered blocks of the nets before it.
// Prints its figures.
// `engine_ring_bench STEPS [TOKENS a|b|c [engine]]` runs exactly STEPS steps
// per figure instead of at least half a second (optionally one figure only,
// whole steps unless `engine` is given), so that the instruction and
// cache-miss counts of `valgrind --tool=callgrind --toggle-collect='*runSteps*'`
// compare builds whatever the machine's load.
#include "base/SimpleInterface.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "server/ClientToGNProxy.h"
#include "server/XMLEventSender.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr int kPlaces = 100;
constexpr double kMinimumSeconds = 0.5;  // each round of a figure is timed over at least this long
constexpr int kRounds = 5;
constexpr int kSizes[] = {100, 1000, 10000};

class SilentLog final : public CSimpleInterface {
 public:
  void write(std::string_view) override {}
};

// Takes the serialised documents in place of a connection.
class CountingSink final : public ResponseSink {
 public:
  bool sendResponse(std::string_view body) override {
    bytes += body.size();
    return true;
  }
  std::size_t bytes = 0;
};

// Forwards every report to the events document and counts the movements.
class CountingEvents final : public EventManager {
 public:
  explicit CountingEvents(XMLEventSender& sender) : sender_(sender) {}
  bool probe(std::uintptr_t argument) override { return sender_.probe(argument); }
  void movement(const CToken& token, const CPlace& place) override {
    ++moves;
    sender_.movement(token, place);
  }
  void entrance(const CToken& token, const CPlace& place) override { sender_.entrance(token, place); }
  void exit(const CToken& token, const CPlace& place) override { sender_.exit(token, place); }
  void merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) override {
    sender_.merge(oldToken, place, newToken);
  }
  long long moves = 0;

 private:
  XMLEventSender& sender_;
};

struct Series {
  char letter;
  const char* title;
  bool functionPredicates;
  bool capacities;
};

constexpr Series kSeries[] = {
    {'a', "(a) constant-true predicates", false, false},
    {'b', "(b) GNVCFL predicate (< token 1000000) on every arc", true, false},
    {'c', "(c) constant-true predicates, a capacity of 1000000 on every place", false, true},
};

std::string ringDefinition(int tokens, const Series& series) {
  std::string text = "<?xml version=\"1.0\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\"><transitions>";
  for (int i = 0; i < kPlaces; ++i) {
    const std::string from = "P" + std::to_string(i);
    const std::string to = "P" + std::to_string((i + 1) % kPlaces);
    text += "<transition id=\"T" + std::to_string(i) + "\"><inputs><input ref=\"" + from +
            "\"/></inputs><outputs><output ref=\"" + to + "\"/></outputs>";
    text += series.functionPredicates ? "<predicates><predicate input=\"" + from + "\" output=\"" + to +
                                     "\">small</predicate></predicates>"
                               : std::string("<predicates default=\"true\"/>");
    text += "</transition>";
  }
  text += "</transitions><places>";
  const std::string capacity = series.capacities ? "\" capacity=\"1000000" : "";
  for (int i = 0; i < kPlaces; ++i) text += "<place id=\"P" + std::to_string(i) + capacity + "\"/>";
  text += "</places><functions>(defun small \"0\" () () (&lt; token 1000000))</functions><tokens>";
  for (int i = 0; i < tokens; ++i) {
    text += "<token id=\"k" + std::to_string(i) + "\" host=\"P" + std::to_string(i % kPlaces) +
            "\"><characteristic name=\"Default\" type=\"double\">" + std::to_string(i) + "</characteristic></token>";
  }
  return text + "</tokens></gn>\n";
}

// What a figure measures: a STEP request's whole work, or the engine alone.
enum class Work { WholeStep, EngineAlone };

// Steps until `steps` were run (when positive) or at least kMinimumSeconds
// passed; the seconds they took. With no document open the sender reports
// nothing. Kept out of line so that callgrind can count it alone.
[[gnu::noinline]] double runSteps(CAbstractTransition& net, XMLEventSender& sender, int steps, Work work) {
  const auto start = std::chrono::steady_clock::now();
  std::chrono::duration<double> elapsed{0};
  for (int done = 0; net.runtimeOk(); ++done) {
    if (steps > 0 ? done == steps : elapsed.count() >= kMinimumSeconds) break;
    if (work == Work::WholeStep) sender.reset();
    net.step();
    if (work == Work::WholeStep) sender.send();
    elapsed = std::chrono::steady_clock::now() - start;
  }
  return elapsed.count();
}

// Nanoseconds per move, after two steps of warming up; -1 when the net did not run.
double netNanosecondsPerMove(int tokens, const Series& series, int steps, Work work) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("vanter-ring-bench-" + std::to_string(getpid()) + ".xml")).string();
  std::ofstream(path) << ringDefinition(tokens, series);
  SilentLog log;
  CountingSink sink;
  CAbstractTransition net;
  XMLEventSender sender(sink, net);
  CountingEvents events(sender);
  net.prepare(&log, path, "", &events);
  registerBuiltIns(net);
  const bool ready = net.initialize();
  std::filesystem::remove(path);
  if (!ready) return -1.0;
  net.step();
  net.step();
  events.moves = 0;
  const double seconds = runSteps(net, sender, steps, work);
  return events.moves == 0 ? -1.0 : seconds * 1e9 / static_cast<double>(events.moves);
}

// The same, with the net on a thread of its own.
double nanosecondsPerMove(int tokens, const Series& series, int steps, Work work) {
  double cost = -1.0;
  std::thread([&] { cost = netNanosecondsPerMove(tokens, series, steps, work); }).join();
  return cost;
}

// `first` is the same figure at the smallest size, or negative for none.
void printFigure(const char* label, double cost, double first) {
  if (cost < 0) {
    std::printf("  %s: the net did not run", label);
    return;
  }
  std::printf("  %s: %6.1f ns/move", label, cost);
  if (first > 0) std::printf(" (%.2fx at 100)", cost / first);
}

void runSeries(const Series& series, int steps) {
  std::printf("%s\n", series.title);
  constexpr Work kWork[] = {Work::WholeStep, Work::EngineAlone};
  double fastest[std::size(kWork)][std::size(kSizes)];
  std::fill(&fastest[0][0], &fastest[0][0] + std::size(kWork) * std::size(kSizes), -1.0);
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t size = 0; size < std::size(kSizes); ++size) {
      for (std::size_t w = 0; w < std::size(kWork); ++w) {
        const double cost = nanosecondsPerMove(kSizes[size], series, steps, kWork[w]);
        if (cost > 0 && (fastest[w][size] < 0 || cost < fastest[w][size])) fastest[w][size] = cost;
      }
    }
  }
  for (std::size_t size = 0; size < std::size(kSizes); ++size) {
    std::printf("  %6d tokens:", kSizes[size]);
    printFigure("whole step", fastest[0][size], fastest[0][0]);
    printFigure("engine alone", fastest[1][size], fastest[1][0]);
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int steps = argc > 1 ? std::atoi(argv[1]) : 0;
  if (!initializeXerces()) return 1;
  for (const Series& series : kSeries) {
    if (argc <= 3) {
      runSeries(series, steps);
    } else if (argv[3][0] == series.letter) {
      const bool engineAlone = argc > 4 && std::string_view(argv[4]) == "engine";
      std::printf("%s, %s tokens\n", series.title, argv[2]);
      const double cost = nanosecondsPerMove(std::atoi(argv[2]), series, steps,
                                             engineAlone ? Work::EngineAlone : Work::WholeStep);
      printFigure(engineAlone ? "engine alone" : "whole step", cost, -1.0);
      std::printf("\n");
    }
  }
  terminateXerces();
  return 0;
}
