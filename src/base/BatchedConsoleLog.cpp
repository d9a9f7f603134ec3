// BatchedConsoleLog: writers queue; the writer thread drains, gathering lines between batches.
#include "base/BatchedConsoleLog.h"

BatchedConsoleLog::BatchedConsoleLog(std::FILE* stream) : stream_(stream), writer_([this] { writerLoop(); }) {}

BatchedConsoleLog::~BatchedConsoleLog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  writer_.join();
}

void BatchedConsoleLog::write(std::string_view message) {
  if (!queue_.push(message)) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    drainDue_ = true;
  }
  wake_.notify_one();
}

// Nothing queued (the usual case for a print in a step) costs no wake-up.
void BatchedConsoleLog::flush() {
  if (queue_.allHandedOn()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    flushDue_ = true;
  }
  wake_.notify_one();
  queue_.waitUntilHandedOn();
}

void BatchedConsoleLog::writerLoop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return drainDue_ || stopping_; });
    bool stop = stopping_;
    drainDue_ = false;
    lock.unlock();
    writeQueued();
    if (stop) return;
    lock.lock();
  }
}

// Drains the queue: a batch, a pause to gather more, until a take finds none.
void BatchedConsoleLog::writeQueued() {
  while (queue_.take(batch_)) {
    std::fwrite(batch_.data(), 1, batch_.size(), stream_);
    std::fflush(stream_);
    queue_.handedOn();
    gatherMore();
  }
}

// Waits kGatherTime for more lines, unless a flush or the end is due.
void BatchedConsoleLog::gatherMore() {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait_for(lock, kGatherTime, [this] { return flushDue_ || stopping_; });
  flushDue_ = false;
}
