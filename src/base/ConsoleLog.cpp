// ConsoleLog: one line per message, whole lines, flushed.
#include "base/ConsoleLog.h"

ConsoleLog::ConsoleLog(std::FILE* stream) : stream_(stream) {}

void ConsoleLog::write(std::string_view message) {
  std::string_view shown = message.substr(0, kMaxMessage);
  std::lock_guard<std::mutex> lock(mutex_);
  std::fwrite(shown.data(), 1, shown.size(), stream_);
  std::fputc('\n', stream_);
  std::fflush(stream_);
}
