// Progress on a terminal.
#include "client/Progress.h"

#include <unistd.h>

Progress::Progress(std::FILE* stream, int total, const char* unit)
    : stream_(stream),
      terminal_(isatty(fileno(stream)) != 0),
      total_(total),
      unit_(unit),
      start_(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
  if (shown_) std::fputs("\n", stream_);
}

void Progress::show(int done) {
  if (!terminal_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - start_ < kQuietStart || (shown_ && now - lastShown_ < kInterval)) return;
  std::fprintf(stream_, "\rgnxp: %s %d of %d", unit_, done, total_);
  std::fflush(stream_);
  shown_ = true;
  lastShown_ = now;
}
