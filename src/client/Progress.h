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

  Progress(std::FILE* stream, int totalSteps);
  // Ends the progress line, if one was shown.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // One more step is done.
  void stepDone();

 private:
  std::FILE* stream_;
  bool terminal_;
  int total_;
  int done_ = 0;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastShown_;
};
