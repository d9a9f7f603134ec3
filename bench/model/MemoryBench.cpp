// Resident memory of a loaded net of 500 places, 250 transitions and 10,000
// tokens of three characteristics each, and the time INIT takes to build it
// from its definition (parse, validate, load, bind). Prints; asserts nothing.
#include "base/SimpleInterface.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kPlaces = 500;
constexpr int kTransitions = 250;
constexpr int kTokens = 10000;

class SilentLog final : public CSimpleInterface {
 public:
  void write(std::string_view) override {}
};

// Transition t takes from place 2t and gives to place 2t+1.
std::string definition() {
  std::ostringstream out;
  out << "<?xml version=\"1.0\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\">\n<places>\n";
  for (int p = 0; p < kPlaces; ++p) out << "<place id=\"P" << p << "\" capacity=\"-1\"/>\n";
  out << "</places>\n<transitions>\n";
  for (int t = 0; t < kTransitions; ++t) {
    out << "<transition id=\"T" << t << "\"><inputs><input ref=\"P" << 2 * t << "\"/></inputs><outputs><output ref=\"P"
        << 2 * t + 1 << "\"/></outputs><predicates default=\"true\"/><capacities>1</capacities></transition>\n";
  }
  out << "</transitions>\n<tokens>\n";
  for (int k = 0; k < kTokens; ++k) {
    out << "<token id=\"k" << k << "\" host=\"P" << 2 * (k % kTransitions) << "\" entering=\"" << k % 7 << "\">"
        << "<characteristic name=\"Default\" type=\"double\" history=\"2\">" << k << "</characteristic>"
        << "<characteristic name=\"label\" type=\"string\">token " << k << "</characteristic>"
        << "<characteristic name=\"v\" type=\"vector\">[1 2 3]</characteristic></token>\n";
  }
  out << "</tokens>\n</gn>\n";
  return out.str();
}

// Resident set size in KiB, from /proc/self/statm.
long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main() {
  initializeXerces();
  std::string path = (std::filesystem::temp_directory_path() / "vanter-model-bench.xml").string();
  std::string text = definition();
  std::ofstream(path, std::ios::binary) << text;
  SilentLog log;
  {
    // Parsing and validating alone, for comparison with the whole INIT.
    DefinitionParser parser(path, "");
    auto start = std::chrono::steady_clock::now();
    bool parsed = parser.parse() != nullptr;
    double parseSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("parse and validate alone: %s in %.1f ms\n", parsed ? "ok" : "FAILED", parseSeconds * 1000.0);
  }
  long before = residentKiB();
  double seconds = 0.0;
  bool ok = false;
  {
    CAbstractTransition net;
    net.prepare(&log, path, "", nullptr);
    registerBuiltIns(net);
    auto start = std::chrono::steady_clock::now();
    ok = net.initialize();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long loaded = residentKiB();
    std::printf("definition: %zu bytes, %d places, %d transitions, %d tokens x 3 characteristics\n", text.size(),
                kPlaces, kTransitions, kTokens);
    std::printf("initialize: %s in %.1f ms\n", ok ? "ok" : "FAILED", seconds * 1000.0);
    std::printf("resident memory: %ld KiB before, %ld KiB with the net loaded (+%ld KiB)\n",
                before, loaded, loaded - before);
  }
  std::filesystem::remove(path);
  terminateXerces();
  return ok ? 0 : 1;
}
