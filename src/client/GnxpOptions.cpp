// gnxp's command line.
#include "client/GnxpOptions.h"

#include <array>
#include <charconv>
#include <string_view>

const char* const kGnxpUsage =
    "usage: gnxp run DEFINITION.xml [--steps N] [--batch K] [--format F] [--seed S] [--host H [--port P]]\n"
    "       gnxp stats DEFINITION.xml --steps N --replications R [--warmup W] [--seed S] [--jobs J]\n"
    "                  [--first-replication K] [--csv FILE] [--plot FILE.png]\n"
    "       gnxp summarize FILE...\n"
    "\n"
    "run: runs a generalized net and prints the events of its steps.\n"
    "  --steps N   make N steps in all (default 1)\n"
    "  --batch K   send K steps per STEP request, one events document each\n"
    "              (default: all steps in one document; xml only)\n"
    "  --format F  xml (the events documents, the default), csv (one record per\n"
    "              characteristic of each event, with a header) or jsonl (the same\n"
    "              records as JSON lines); csv and jsonl number each step\n"
    "  --seed S    seed the net's pseudo-random generator with S (in-process only;\n"
    "              a server takes VANTER_SEED from its own environment)\n"
    "  --host H    run on the VanterServer at host H over GNXP/0.1 instead of\n"
    "              in this process\n"
    "  --port P    the server's port (default 54321)\n"
    "\n"
    "stats: runs R independent replications of N steps in this process and prints,\n"
    "per place, the mean number of tokens, the arrivals per step and the mean\n"
    "stay, and the mean time from entrance to exit: their mean over replications,\n"
    "standard deviation and 95% confidence half-width (docs/output-analysis.md).\n"
    "  --warmup W  leave steps 1..W out of the statistics (default 0)\n"
    "  --seed S    replication i uses seed S+i (default: drawn and printed)\n"
    "  --jobs J    run on J threads (default: one per core); results do not depend on J\n"
    "  --first-replication K  number the replications from K (seeds S+K on): a shard\n"
    "  --csv FILE  write one row per replication and statistic to FILE\n"
    "  --plot FILE.png  draw the mean number of tokens in the busiest places against time\n"
    "\n"
    "summarize: reads the rows that stats --csv wrote, from any number of shards, and\n"
    "prints the table one run of all their replications would have printed.\n"
    "\n"
    "In-process, the net's log goes to standard error (stats shows it only when the\n"
    "net is refused). The exit status is 0 when everything ran, 1 when the net was\n"
    "refused, a step or a replication failed or a file could not be written, 2 for a\n"
    "bad command line or an input file that cannot be read.\n";

namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
  auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return status == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseFormat(const std::string& text, EventsFormat& format) {
  constexpr std::array<std::pair<std::string_view, EventsFormat>, 3> kFormats = {
      {{"xml", EventsFormat::Xml}, {"csv", EventsFormat::Csv}, {"jsonl", EventsFormat::JsonLines}}};
  for (const auto& [name, value] : kFormats) {
    if (text == name) {
      format = value;
      return true;
    }
  }
  return false;
}

// An option that takes a value: the commands it belongs to and how it is
// read; `apply` gives false for a value it refuses.
struct OptionRule {
  std::string_view name;
  bool run;
  bool stats;
  bool (*apply)(const std::string& value, GnxpOptions& options);
};

constexpr OptionRule kOptions[] = {
    {"--steps", true, true,
     [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.steps) && o.steps >= 0; }},
    {"--batch", true, false,
     [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.batch) && o.batch >= 1; }},
    {"--format", true, false, [](const std::string& v, GnxpOptions& o) { return parseFormat(v, o.format); }},
    {"--seed", true, true,
     [](const std::string& v, GnxpOptions& o) {
       o.seed.emplace();
       return parseNumber(v, *o.seed);
     }},
    {"--host", true, false,
     [](const std::string& v, GnxpOptions& o) {
       o.host = v;
       return !v.empty();
     }},
    {"--port", true, false, [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.port) && o.port != 0; }},
    {"--replications", false, true,
     [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.replications) && o.replications >= 1; }},
    {"--warmup", false, true,
     [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.warmup) && o.warmup >= 0; }},
    {"--jobs", false, true, [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.jobs) && o.jobs >= 1; }},
    {"--first-replication", false, true,
     [](const std::string& v, GnxpOptions& o) { return parseNumber(v, o.firstReplication); }},
    {"--csv", false, true,
     [](const std::string& v, GnxpOptions& o) {
       o.csvPath = v;
       return !v.empty();
     }},
    {"--plot", false, true,
     [](const std::string& v, GnxpOptions& o) {
       o.plotPath = v;
       return !v.empty();
     }},
};

// Applies one option that takes a value; false with `error` set.
bool applyOption(const std::string& name, const std::string& value, GnxpOptions& options, std::string& error) {
  for (const OptionRule& rule : kOptions) {
    if (rule.name != name) continue;
    if (!(options.command == GnxpCommand::Run ? rule.run : rule.stats)) {
      error = name + " does not apply to gnxp " + (options.command == GnxpCommand::Run ? "run" : "stats");
    } else if (!rule.apply(value, options)) {
      error = "invalid value for " + name + ": '" + value + "'";
    }
    return error.empty();
  }
  error = "unknown option " + name;
  return false;
}

// The options after the definition, in pairs; false with `error` set.
bool applyOptions(const std::vector<std::string>& arguments, GnxpOptions& options, std::vector<std::string>& given,
                  std::string& error) {
  for (std::size_t at = 2; at < arguments.size(); at += 2) {
    if (at + 1 == arguments.size()) {
      error = arguments[at].starts_with("--") ? "missing value for " + arguments[at] : "unexpected " + arguments[at];
      return false;
    }
    if (!applyOption(arguments[at], arguments[at + 1], options, error)) return false;
    given.push_back(arguments[at]);
  }
  return true;
}

bool isGiven(const std::vector<std::string>& given, std::string_view name) {
  for (const std::string& option : given) {
    if (option == name) return true;
  }
  return false;
}

// The rules between a run's options; the first broken one in `error`.
void checkRun(const GnxpOptions& options, const std::vector<std::string>& given, std::string& error) {
  if (options.host && options.seed) error = "--seed applies to in-process runs only; a server reads VANTER_SEED";
  if (isGiven(given, "--port") && !options.host) error = "--port needs --host";
  if (options.batch != 0 && options.format != EventsFormat::Xml) {
    error = "--batch applies to --format xml only: csv and jsonl number every step";
  }
}

// The rules between a statistics run's options; the first broken one in `error`.
void checkStats(const GnxpOptions& options, const std::vector<std::string>& given, std::string& error) {
  if (!isGiven(given, "--steps") || !isGiven(given, "--replications")) {
    error = "gnxp stats needs --steps N and --replications R";
  } else if (options.warmup >= options.steps) {
    error = "--warmup (" + std::to_string(options.warmup) + ") must be less than --steps (" +
            std::to_string(options.steps) + "): no step would be measured";
  } else if (isGiven(given, "--first-replication") && !options.seed) {
    error = "--first-replication needs --seed: the shards of a run share one seed";
  }
}

constexpr std::array<std::pair<std::string_view, GnxpCommand>, 3> kCommands = {
    {{"run", GnxpCommand::Run}, {"stats", GnxpCommand::Stats}, {"summarize", GnxpCommand::Summarize}}};

bool parseCommand(const std::vector<std::string>& arguments, GnxpOptions& options, std::string& error) {
  if (arguments.empty()) {
    error = "no command (try gnxp --help)";
    return false;
  }
  for (const auto& [name, command] : kCommands) {
    if (arguments[0] == name) {
      options.command = command;
      return true;
    }
  }
  error = "unknown command " + arguments[0] + " (try gnxp --help)";
  return false;
}

}  // namespace

bool parseGnxpOptions(const std::vector<std::string>& arguments, GnxpOptions& options, std::string& error) {
  options = GnxpOptions{};
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    options.help = true;
    return true;
  }
  if (!parseCommand(arguments, options, error)) return false;
  if (options.command == GnxpCommand::Summarize) {
    options.shardPaths.assign(arguments.begin() + 1, arguments.end());
    if (options.shardPaths.empty()) error = "expected: gnxp summarize FILE...";
    return error.empty();
  }
  if (arguments.size() < 2) {
    error = "expected: gnxp " + arguments[0] + " DEFINITION.xml [options]";
    return false;
  }
  options.definitionPath = arguments[1];
  std::vector<std::string> given;
  if (!applyOptions(arguments, options, given, error)) return false;
  if (options.command == GnxpCommand::Run) checkRun(options, given, error);
  if (options.command == GnxpCommand::Stats) checkStats(options, given, error);
  return error.empty();
}

std::vector<int> stepBatches(int steps, int batch) {
  if (batch == 0 || batch >= steps) return {steps};
  std::vector<int> batches(static_cast<std::size_t>(steps / batch), batch);
  if (steps % batch != 0) batches.push_back(steps % batch);
  return batches;
}
