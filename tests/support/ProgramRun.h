// Runs a program to its end for end-to-end tests: its standard output,
// standard error and exit status.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
  int status = -1;  // exit status, 128 + signal when killed, -1 when it could not start
  std::string out;
  std::string err;
};

// Runs `arguments` (the program path first) in the current directory and
// waits for it.
ProgramResult runProgram(const std::vector<std::string>& arguments);
