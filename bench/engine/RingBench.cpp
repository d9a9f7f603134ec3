// Token moves per second on ring nets: 100 places in a ring, each feeding the
// next through its own transition, with 100, 1,000 and 10,000 tokens that all
// move in every step. (a) constant-true predicates; (b) a small GNVCFL predicate
// on every arc. Characteristic functions are ID. Every step is one STEP
// request's worth of work: the events document is built by XMLEventSender and
// serialised. Prints its figures.
#include "app/SimpleInterface.h"
#include "builtins/Primitive.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"
#include "server/ClientToGNProxy.h"
#include "server/XMLEventSender.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kPlaces = 100;
constexpr double kMinimumSeconds = 1.0;  // each figure is timed over at least this long

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

std::string ringDefinition(int tokens, bool functionPredicates) {
  std::string text = "<?xml version=\"1.0\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\"><transitions>";
  for (int i = 0; i < kPlaces; ++i) {
    const std::string from = "P" + std::to_string(i);
    const std::string to = "P" + std::to_string((i + 1) % kPlaces);
    text += "<transition id=\"T" + std::to_string(i) + "\"><inputs><input ref=\"" + from +
            "\"/></inputs><outputs><output ref=\"" + to + "\"/></outputs>";
    text += functionPredicates ? "<predicates><predicate input=\"" + from + "\" output=\"" + to +
                                     "\">small</predicate></predicates>"
                               : std::string("<predicates default=\"true\"/>");
    text += "</transition>";
  }
  text += "</transitions><places>";
  for (int i = 0; i < kPlaces; ++i) text += "<place id=\"P" + std::to_string(i) + "\"/>";
  text += "</places><functions>(defun small \"0\" () () (&lt; token 1000000))</functions><tokens>";
  for (int i = 0; i < tokens; ++i) {
    text += "<token id=\"k" + std::to_string(i) + "\" host=\"P" + std::to_string(i % kPlaces) +
            "\"><characteristic name=\"Default\" type=\"double\">" + std::to_string(i) + "</characteristic></token>";
  }
  return text + "</tokens></gn>\n";
}

// Nanoseconds per move over whole steps, after two steps of warming up.
double nanosecondsPerMove(int tokens, bool functionPredicates) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("vanter-ring-bench-" + std::to_string(getpid()) + ".xml")).string();
  std::ofstream(path) << ringDefinition(tokens, functionPredicates);
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
  const auto start = std::chrono::steady_clock::now();
  events.moves = 0;
  std::chrono::duration<double> elapsed{0};
  while (elapsed.count() < kMinimumSeconds && net.runtimeOk()) {
    sender.reset();
    net.step();
    sender.send();
    elapsed = std::chrono::steady_clock::now() - start;
  }
  return events.moves == 0 ? -1.0 : elapsed.count() * 1e9 / static_cast<double>(events.moves);
}

void runSeries(const char* title, bool functionPredicates) {
  std::printf("%s\n", title);
  double first = 0.0;
  for (int tokens : {100, 1000, 10000}) {
    const double cost = nanosecondsPerMove(tokens, functionPredicates);
    if (cost < 0) {
      std::printf("  %6d tokens: the net did not run\n", tokens);
      continue;
    }
    if (first == 0.0) first = cost;
    std::printf("  %6d tokens: %10.0f moves/s  %7.1f ns/move  %.2fx the cost at 100\n", tokens, 1e9 / cost, cost,
                cost / first);
  }
}

}  // namespace

int main() {
  if (!initializeXerces()) return 1;
  runSeries("(a) constant-true predicates", false);
  runSeries("(b) GNVCFL predicate (< token 1000000) on every arc", true);
  terminateXerces();
  return 0;
}
