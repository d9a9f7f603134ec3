// LogQueue: the messages of many writing threads, kept in the order they were
// written and handed out in batches to one draining thread at a time, so that
// no writer waits for another's output or for the display.
// Thread rule: every operation may be called from any thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

class LogQueue {
 public:
  // Text waiting to be taken beyond which writers wait for the drain, so that a
  // stalled display or a full pipe holds at most this much memory.
  static constexpr std::size_t kMaxPendingBytes = 1 << 20;

  // Appends the message, cut to CSimpleInterface::kMaxMessage, and a line feed.
  // True when no drain was under way: the caller must then see that one runs
  // (take until false). Waits while kMaxPendingBytes are pending and a drain runs.
  bool push(std::string_view message);

  // Done with the batch taken before (if any); moves every pending message into
  // `batch` (replacing its text) and returns true, or, when nothing is
  // pending, ends the drain and returns false.
  // REQUIRES: one thread drains at a time: the one whose push returned true,
  // until take returns false; or always the same thread, which then drains
  // for every writer whose push returned true.
  bool take(std::string& batch);

  // The drain is done with the batch it took last: a waitUntilHandedOn for it
  // returns now rather than at the next take.
  void handedOn();
  // True when the drain is done with every message pushed so far.
  bool allHandedOn();
  // Returns once the drain is done with every message pushed before the call.
  void waitUntilHandedOn();

 private:
  std::mutex mutex_;
  std::condition_variable taken_;  // signalled by every take
  // Guarded by mutex_. Invariant: pending_ is empty unless draining_.
  std::string pending_;
  bool draining_ = false;     // from a push that returned true to a take that returned false
  std::uint64_t pushed_ = 0;  // bytes ever pushed
  std::size_t inDrain_ = 0;   // bytes of the batch the drain holds
};
