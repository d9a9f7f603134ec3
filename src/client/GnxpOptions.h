// The command line of gnxp: which command, what to run, how many steps in
// how many documents and in which format, where (in-process or on a
// server), and the replications of a statistics run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class GnxpCommand { Run, Stats, Summarize };
enum class EventsFormat { Xml, Csv, JsonLines };

struct GnxpOptions {
  bool help = false;
  GnxpCommand command = GnxpCommand::Run;
  std::string definitionPath;
  int steps = 1;  // in all
  int batch = 0;  // steps per events document; 0: all in one
  EventsFormat format = EventsFormat::Xml;
  std::optional<std::uint64_t> seed;
  std::optional<std::string> host;  // none: run in-process
  std::uint16_t port = 54321;
  // stats
  int replications = 0;
  int warmup = 0;
  int jobs = 0;  // threads; 0: one per core
  std::uint64_t firstReplication = 0;
  std::string csvPath;   // empty: no rows written
  std::string plotPath;  // empty: no picture
  // summarize
  std::vector<std::string> shardPaths;
};

// Reads `arguments` (without the program name). False with `error` set to a
// one-line reason when they are not a valid command line.
bool parseGnxpOptions(const std::vector<std::string>& arguments, GnxpOptions& options, std::string& error);

// The sizes of the STEP requests that make `steps` steps `batch` at a time:
// one request of `steps` when batch is 0 or larger; an empty plan for 0 steps
// still makes one empty request, so every run prints a document.
std::vector<int> stepBatches(int steps, int batch);

// The text of gnxp --help.
extern const char* const kGnxpUsage;
