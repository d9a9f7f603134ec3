// gnxp's command line.
#include "client/GnxpOptions.h"

#include <charconv>

const char* const kGnxpUsage =
    "usage: gnxp run DEFINITION.xml [--steps N] [--batch K] [--seed S] [--host H [--port P]]\n"
    "\n"
    "Runs a generalized net and prints the events documents of its steps.\n"
    "\n"
    "  --steps N   make N steps in all (default 1)\n"
    "  --batch K   send K steps per STEP request, one events document each\n"
    "              (default: all steps in one document)\n"
    "  --seed S    seed the net's pseudo-random generator with S (in-process only;\n"
    "              a server takes VANTER_SEED from its own environment)\n"
    "  --host H    run on the VanterServer at host H over GNXP/0.1 instead of\n"
    "              in this process\n"
    "  --port P    the server's port (default 54321)\n"
    "\n"
    "In-process, the net's log goes to standard error. The exit status is 0 when\n"
    "every step ran, 1 when the net was refused or a step failed, 2 for a bad\n"
    "command line or a definition that cannot be read.\n";

namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
  auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return status == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Applies one option that takes a value; false with `error` set.
bool applyOption(const std::string& name, const std::string& value, GnxpOptions& options, std::string& error) {
  bool ok = true;
  if (name == "--steps") {
    ok = parseNumber(value, options.steps) && options.steps >= 0;
  } else if (name == "--batch") {
    ok = parseNumber(value, options.batch) && options.batch >= 1;
  } else if (name == "--seed") {
    std::uint64_t seed = 0;
    ok = parseNumber(value, seed);
    options.seed = seed;
  } else if (name == "--host") {
    options.host = value;
    ok = !value.empty();
  } else if (name == "--port") {
    ok = parseNumber(value, options.port) && options.port != 0;
  } else {
    error = "unknown option " + name;
    return false;
  }
  if (!ok) error = "invalid value for " + name + ": '" + value + "'";
  return ok;
}

}  // namespace

bool parseGnxpOptions(const std::vector<std::string>& arguments, GnxpOptions& options, std::string& error) {
  options = GnxpOptions{};
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    options.help = true;
    return true;
  }
  if (arguments.size() < 2 || arguments[0] != "run") {
    error = arguments.empty() ? "no command (try gnxp --help)" : "expected: gnxp run DEFINITION.xml [options]";
    return false;
  }
  options.definitionPath = arguments[1];
  bool portGiven = false;
  for (std::size_t at = 2; at < arguments.size(); at += 2) {
    if (at + 1 == arguments.size()) {
      error = arguments[at].starts_with("--") ? "missing value for " + arguments[at] : "unexpected " + arguments[at];
      return false;
    }
    if (!applyOption(arguments[at], arguments[at + 1], options, error)) return false;
    portGiven = portGiven || arguments[at] == "--port";
  }
  if (options.host && options.seed) error = "--seed applies to in-process runs only; a server reads VANTER_SEED";
  if (portGiven && !options.host) error = "--port needs --host";
  return error.empty();
}

std::vector<int> stepBatches(int steps, int batch) {
  if (batch == 0 || batch >= steps) return {steps};
  std::vector<int> batches(static_cast<std::size_t>(steps / batch), batch);
  if (steps % batch != 0) batches.push_back(steps % batch);
  return batches;
}
