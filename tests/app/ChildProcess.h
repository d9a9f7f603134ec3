// A program started by a test: its own environment additions, working
// folder and output files; waited for with a time limit, ended if still
// running when the test lets go of it.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

class ChildProcess {
 public:
  // Starts `program` with `arguments` in `folder`, with `environment` entries
  // ("NAME=value") added; standard output and error go to files in `folder`.
  // An extra descriptor `passFd` (or -1) stays open in the child as itself.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
               const std::vector<std::string>& environment, int passFd = -1);
  // Kills and reaps the program when it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // The exit status once it has ended within `limit`; none when it has not
  // (or was ended by a signal).
  std::optional<int> waitForExit(std::chrono::milliseconds limit);
  // Sends SIGTERM and reaps it.
  void terminate();
  std::string standardOutput() const;
  std::string standardError() const;

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  std::string folder_;
};

// A TCP port on the loopback address that nothing listens on right now.
int freePort();
// A new empty folder under the system's temporary folder.
std::string makeTemporaryFolder();
