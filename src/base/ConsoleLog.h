// ConsoleLog: the log sink of the programs without a screen: each message is
// written to a stream as one line (more when it holds line breaks), flushed.
// Thread rule: write may be called from any thread; writers take turns, so
// lines are never mixed.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include "base/SimpleInterface.h"

class ConsoleLog final : public CSimpleInterface {
 public:
  // Writes to `stream` (borrowed; standard output for the headless server).
  explicit ConsoleLog(std::FILE* stream);
  ConsoleLog(const ConsoleLog&) = delete;
  ConsoleLog& operator=(const ConsoleLog&) = delete;

  // Writes the message, cut to kMaxMessage characters, and a line feed.
  void write(std::string_view message) override;

 private:
  std::FILE* const stream_;
  std::mutex mutex_;  // held for the whole of one message
  std::string line_;  // the message being written and its line feed; guarded by mutex_
};
