// Resident memory of a loaded net of 500 places, 250 transitions and 10,000
// tokens of three characteristics each, and the time INIT takes to build it
// from its definition (parse, validate, load, bind); when xmllint is on the
// path, INIT against `xmllint --schema` validating the same document, taking
// turns, the fastest of each: INIT in this process, and INIT round trips to
// the real headless server, a new conversation each. Prints; asserts nothing.
#include "ServerProcess.h"
#include "base/SimpleInterface.h"
#include "builtins/BuiltinFunctions.h"
#include "client/GnxpClient.h"
#include "model/AbstractTransition.h"
#include "model/DefinitionParser.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

constexpr int kPlaces = 500;
constexpr int kTransitions = 250;
constexpr int kTokens = 10000;
constexpr int kComparisonRounds = 5;

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

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One whole INIT of the definition at `path`; negative when it failed.
double initSeconds(const std::string& path) {
  SilentLog log;
  CAbstractTransition net;
  net.prepare(&log, path, "", nullptr);
  registerBuiltIns(net);
  auto start = std::chrono::steady_clock::now();
  return net.initialize() ? secondsSince(start) : -1.0;
}

// One whole run of xmllint validating `path` against the schema, its output
// discarded; negative when it could not be started or did not validate.
double xmllintSeconds(const std::string& path) {
  const char* argv[] = {"xmllint", "--noout", "--schema", VANTER_SCHEMA_PATH, path.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int status = -1;
  const bool started = posix_spawnp(&child, "xmllint", &actions, nullptr, const_cast<char**>(argv), environ) == 0;
  if (started) waitpid(child, &status, 0);
  const double seconds = secondsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  return started && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
}

// One INIT round trip of `text` on a new conversation with the server at
// `port`, which then ends; negative when it failed.
double serverInitSeconds(std::uint16_t port, const std::string& text) {
  std::string error;
  auto client = GnxpClient::connect("127.0.0.1", port, error);
  if (!client || !client->identify()) return -1.0;
  GnxpResponse response;
  auto start = std::chrono::steady_clock::now();
  const bool ok = client->init(text, response) && response.status == "200 Request completed successfully";
  const double seconds = secondsSince(start);
  client->sendHalt();
  return ok ? seconds : -1.0;
}

// `ours` and xmllint on `path` in turns; prints the fastest of each.
void compareWithXmllint(const char* what, const std::function<double()>& ours, const std::string& path) {
  double init = -1.0;
  double xmllint = -1.0;
  for (int round = 0; round < kComparisonRounds; ++round) {
    const double a = ours();
    const double b = xmllintSeconds(path);
    if (a < 0 || b < 0) {
      std::printf("%s against xmllint --schema: not measured (%s failed)\n", what, a < 0 ? what : "xmllint");
      return;
    }
    if (init < 0 || a < init) init = a;
    if (xmllint < 0 || b < xmllint) xmllint = b;
  }
  std::printf("%s %.1f ms, xmllint --schema (whole command) %.1f ms: %.2fx (fastest of %d turns each)\n", what,
              init * 1000.0, xmllint * 1000.0, init / xmllint, kComparisonRounds);
}

// The same comparison through a freshly started server, whose first INIT,
// which grows the process to the net's size, is also shown alone.
void compareServerWithXmllint(const std::string& text, const std::string& path) {
  std::string error;
  auto server = ServerProcess::startServing(error);
  if (!server) {
    std::printf("INIT round trip against xmllint --schema: not measured (%s)\n", error.c_str());
    return;
  }
  const std::uint16_t port = server->port();
  const double first = serverInitSeconds(port, text);
  if (first < 0) {
    std::printf("INIT round trip against xmllint --schema: not measured (the server refused the INIT)\n");
    return;
  }
  std::printf("first INIT round trip of a fresh server: %.1f ms\n", first * 1000.0);
  compareWithXmllint("INIT round trip", [&] { return serverInitSeconds(port, text); }, path);
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
    double parseSeconds = secondsSince(start);
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
    seconds = secondsSince(start);
    long loaded = residentKiB();
    std::printf("definition: %zu bytes, %d places, %d transitions, %d tokens x 3 characteristics\n", text.size(),
                kPlaces, kTransitions, kTokens);
    std::printf("initialize: %s in %.1f ms\n", ok ? "ok" : "FAILED", seconds * 1000.0);
    std::printf("resident memory: %ld KiB before, %ld KiB with the net loaded (+%ld KiB)\n",
                before, loaded, loaded - before);
  }
  compareWithXmllint("INIT", [&] { return initSeconds(path); }, path);
  compareServerWithXmllint(text, path);
  std::filesystem::remove(path);
  terminateXerces();
  return ok ? 0 : 1;
}
