// WorkPoll: the check a net's long work makes (every step, loop turn and user
// function call) so that work nobody waits for can stop; and WorkWatcher, the
// question it asks, which the program running the net answers.
// Thread rule: both are used only by the thread that steps the net.
#pragma once

#include <chrono>
#include <string_view>

class CSimpleInterface;

class WorkWatcher {
 public:
  virtual ~WorkWatcher() = default;
  // Why the work must stop now (the text of its runtime error), or empty to go on.
  virtual std::string_view reasonToStop() = 0;
};

// Most calls cost one decrement: the clock is read every kCallsPerClockRead
// calls, and the watcher is asked at most once per kWatchInterval.
class WorkPoll {
 public:
  static constexpr int kCallsPerClockRead = 1024;
  static constexpr std::chrono::milliseconds kWatchInterval{100};

  // `watcher` (borrowed, may be null: the work never stops) is asked; a stop is
  // reported to `log` (borrowed). Both must outlive the poll's use.
  void install(WorkWatcher* watcher, CSimpleInterface* log);
  // True to go on. Once the watcher says stop, a runtime error report with its
  // reason is written, and every later call is false.
  bool keepGoing() { return --countdown_ > 0 || check(); }

 private:
  bool check();

  int countdown_ = kCallsPerClockRead;
  std::chrono::steady_clock::time_point nextWatch_{};
  WorkWatcher* watcher_ = nullptr;
  CSimpleInterface* log_ = nullptr;
  bool stopped_ = false;
};
