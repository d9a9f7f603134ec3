// LogQueue: appending under a short lock, batches, and the wait at the bound.
#include "base/LogQueue.h"

#include "base/SimpleInterface.h"

bool LogQueue::push(std::string_view message) {
  message = message.substr(0, CSimpleInterface::kMaxMessage);
  std::unique_lock<std::mutex> lock(mutex_);
  taken_.wait(lock, [this] { return pending_.size() < kMaxPendingBytes; });
  pending_.append(message);
  pending_.push_back('\n');
  pushed_ += message.size() + 1;
  bool startsDrain = !draining_;
  draining_ = true;
  return startsDrain;
}

bool LogQueue::take(std::string& batch) {
  std::lock_guard<std::mutex> lock(mutex_);
  batch.clear();
  batch.swap(pending_);
  inDrain_ = batch.size();
  draining_ = !batch.empty();
  taken_.notify_all();
  return draining_;
}

void LogQueue::handedOn() {
  std::lock_guard<std::mutex> lock(mutex_);
  inDrain_ = 0;
  taken_.notify_all();
}

bool LogQueue::allHandedOn() {
  std::lock_guard<std::mutex> lock(mutex_);
  return pending_.empty() && inDrain_ == 0;
}

void LogQueue::waitUntilHandedOn() {
  std::unique_lock<std::mutex> lock(mutex_);
  std::uint64_t target = pushed_;
  taken_.wait(lock, [this, target] { return pushed_ - pending_.size() - inDrain_ >= target; });
}
