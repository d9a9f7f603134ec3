// WorkPoll: the clock and the watcher behind the countdown.
#include "model/WorkPoll.h"

#include "lang/Primitive.h"

void WorkPoll::install(WorkWatcher* watcher, CSimpleInterface* log) {
  watcher_ = watcher;
  log_ = log;
}

bool WorkPoll::check() {
  if (stopped_) {
    countdown_ = 0;  // keeps every later call on this path
    return false;
  }
  countdown_ = kCallsPerClockRead;
  if (watcher_ == nullptr) return true;
  auto now = std::chrono::steady_clock::now();
  if (now < nextWatch_) return true;
  nextWatch_ = now + kWatchInterval;
  std::string_view reason = watcher_->reasonToStop();
  if (reason.empty()) return true;
  stopped_ = true;
  countdown_ = 0;
  reportPrimitiveError(*log_, reason, 0, nullptr);
  return false;
}
