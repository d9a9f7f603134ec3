// Calvix: runs one MATLAB function file for the server. It starts the engine,
// goes to the m-file's folder, counts the function's outputs from its text,
// defines the inputs from the arguments file, calls the function and writes
// every output as one line of the result file.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

struct CalvixCommandLine {
  std::string folder;                        // holds the m-file
  std::string name;                          // m-file name without ".m", also the function's name
  std::string resultPath;                    // written
  std::optional<std::string> argumentsPath;  // read when given
  bool debug = false;                        // wait for a key before ending
};

// The usage line printed when fewer than three arguments are given.
extern const char* const kCalvixUsage;

// Reads the arguments after the program name; nothing when fewer than three.
std::optional<CalvixCommandLine> parseCommandLine(int argc, const char* const* argv);

// The whole run after the command line: the account goes to `out`, errors to
// `err`, and in debug mode one byte is read from `in` before the end.
// Returns the exit status: 0 after a complete run, 1 after any failure.
int runCalvix(const CalvixCommandLine& commandLine, std::ostream& out, std::ostream& err, std::istream& in);
