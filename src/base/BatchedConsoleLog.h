// BatchedConsoleLog: the headless server's log sink: each message becomes one
// line of a stream (more when it holds line breaks), and a thread of the log's
// own writes the queued lines in batches, so that a conversation pays neither
// a system call nor a wait for the stream per message.
// Thread rule: write and flush may be called from any thread; lines come out
// whole and in the order their messages were written.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "base/LogQueue.h"
#include "base/SimpleInterface.h"

class BatchedConsoleLog final : public CSimpleInterface {
 public:
  // After writing a batch the writer waits this long for more lines, so a busy
  // server writes a few hundred batches a second rather than a line at a time.
  static constexpr std::chrono::milliseconds kGatherTime{2};

  // Writes to `stream` (borrowed, must outlive the log; standard output for the
  // headless server) and starts the writer thread.
  explicit BatchedConsoleLog(std::FILE* stream);
  // Writes what is queued, then stops and joins the writer.
  ~BatchedConsoleLog() override;
  BatchedConsoleLog(const BatchedConsoleLog&) = delete;
  BatchedConsoleLog& operator=(const BatchedConsoleLog&) = delete;

  // Queues the message, cut to kMaxMessage characters, as a line; returns at once
  // (it waits only while LogQueue::kMaxPendingBytes are queued).
  void write(std::string_view message) override;
  // Returns once every message written before the call is in the stream,
  // cutting short the writer's wait for more lines.
  void flush() override;

 private:
  void writerLoop();
  void writeQueued();
  void gatherMore();

  std::FILE* const stream_;
  LogQueue queue_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool drainDue_ = false;  // guarded by mutex_: a push started a drain the writer has not begun
  bool flushDue_ = false;  // guarded by mutex_: a flush waits for lines still queued
  bool stopping_ = false;  // guarded by mutex_
  std::string batch_;      // used only by the writer thread
  std::thread writer_;     // last: starts once everything above is ready
};
