// Finding the adapter program Calvix.exe and running it to its end.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The adapter's program file name.
extern const char* const kAdapterProgram;

// The folder that holds the running program (from /proc/self/exe); empty
// when it cannot be read.
std::string programFolder();

// folder + "/Calvix.exe" for the first of `folders` where that is an
// executable regular file; nothing when there is none.
std::optional<std::string> findAdapter(const std::vector<std::string>& folders);

// Starts `program` with the argument list (after the program name, which is
// Calvix.exe), without a shell, and waits for it. Its standard output goes to
// this process's standard error (standard output may carry the server's log),
// its standard input is /dev/null, and it inherits no other open descriptor.
// True when it ran and exited with status 0.
bool runAdapter(const std::string& program, const std::vector<std::string>& arguments);
