// Progress of a long run on standard error, shown only when standard error
// is a terminal and the run has lasted a while.
// Thread rule: single-threaded.
#pragma once

#include <chrono>
#include <cstdio>

class Progress {
 public:
  // Nothing is shown before the run has lasted this long.
  static constexpr std::chrono::milliseconds kQuietStart{1000};
  // The line is redrawn at most this often.
  static constexpr std::chrono::milliseconds kInterval{100};

  // Counts `total` things called `unit` ("step", "replication").
  Progress(std::FILE* stream, int total, const char* unit);
  // Ends the progress line, if one was shown.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // `done` of the total are done.
  void show(int done);

 private:
  std::FILE* stream_;
  bool terminal_;
  int total_;
  const char* unit_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastShown_;
};
