// A log sink for tests: keeps every message in order.
#pragma once

#include "base/SimpleInterface.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class RecordingLog final : public CSimpleInterface {
 public:
  void write(std::string_view message) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.emplace_back(message);
  }
  std::vector<std::string> messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }
  // All messages joined with line feeds, for substring checks.
  std::string text() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string all;
    for (const auto& message : messages_) {
      all += message;
      all += '\n';
    }
    return all;
  }
  bool contains(std::string_view message) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& m : messages_) {
      if (m == message) return true;
    }
    return false;
  }
  void reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
};
