// The command line of gnxp: what to run, how many steps in how many
// documents, and where (in-process or on a server).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GnxpOptions {
  bool help = false;
  std::string definitionPath;
  int steps = 1;  // in all
  int batch = 0;  // steps per events document; 0: all in one
  std::optional<std::uint64_t> seed;
  std::optional<std::string> host;  // none: run in-process
  std::uint16_t port = 54321;
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
