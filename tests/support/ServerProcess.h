// ServerProcess: starts the real VanterServerHeadless for end-to-end tests
// and benchmarks, on a free port (VANTER_PORT) in a fresh temporary working
// directory, with its standard output and standard error captured to files
// there. Stops it (SIGTERM) and removes the directory when destroyed.
// Thread rule: one thread drives a ServerProcess.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A TCP port that was free a moment ago (the kernel's choice for port 0).
std::uint16_t freePort();

class ServerProcess {
 public:
  struct Options {
    std::string program;                                           // empty: build/bin/VanterServerHeadless
    std::optional<std::string> portText;                           // VANTER_PORT as given; none: a free port
    std::vector<std::pair<std::string, std::string>> environment;  // added to ours
  };

  // Launches the program; null with `error` set when it cannot be started.
  // The server may still fail to listen: see waitUntilServing.
  static std::unique_ptr<ServerProcess> start(const Options& options, std::string& error);
  // A server started with `options` that is serving; null with `error` set
  // (and its output in it) when it did not get that far.
  static std::unique_ptr<ServerProcess> startServing(std::string& error, const Options& options = {});
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  std::uint16_t port() const { return port_; }
  const std::filesystem::path& directory() const { return directory_; }
  std::string standardOutput() const;
  std::string standardError() const;
  // The log: standard output split at line feeds (the last, empty piece dropped).
  std::vector<std::string> logLines() const;

  // True once "TCPServer running..." is in the log; false when the process
  // ended first or the time ran out.
  bool waitUntilServing(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Waits until the log holds `lines` as a contiguous run; false on timeout.
  bool waitForLines(const std::vector<std::string>& lines,
                    std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
  // Waits for the process to end by itself: its exit status (128 + signal
  // when killed), or none when the time ran out.
  std::optional<int> waitForExit(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Sends `signal` and waits for the end: the exit status, or none.
  std::optional<int> stop(int signal);

  // Sets the server's soft and hard limits on open descriptors; false when refused.
  bool limitDescriptors(std::uint64_t limit);
  // The server's limits on open descriptors (soft, hard), or none.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> descriptorLimits() const;
  // The server's resident memory in bytes, or none.
  std::optional<std::uint64_t> residentBytes() const;

 private:
  ServerProcess() = default;
  std::string fileText(const char* name) const;

  pid_t pid_ = -1;
  std::optional<int> exitStatus_;
  std::uint16_t port_ = 0;
  std::filesystem::path directory_;
};

// True when `lines` occurs as a contiguous run in `log`.
bool hasLineRun(const std::vector<std::string>& log, const std::vector<std::string>& lines);
