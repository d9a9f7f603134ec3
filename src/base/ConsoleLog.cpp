// ConsoleLog: one line per message, whole lines, flushed.
#include "base/ConsoleLog.h"

ConsoleLog::ConsoleLog(std::FILE* stream) : stream_(stream) {}

// The line goes out in one call: on an unbuffered stream (standard error)
// that is one system call per message, and no other process's output can
// fall between a message and its line feed.
void ConsoleLog::write(std::string_view message) {
  std::string_view shown = message.substr(0, kMaxMessage);
  std::lock_guard<std::mutex> lock(mutex_);
  line_.assign(shown);
  line_ += '\n';
  std::fwrite(line_.data(), 1, line_.size(), stream_);
  std::fflush(stream_);
}
