// Progress on a terminal.
#include "client/Progress.h"

#include <unistd.h>

Progress::Progress(std::FILE* stream, int totalSteps)
    : stream_(stream),
      terminal_(isatty(fileno(stream)) != 0),
      total_(totalSteps),
      start_(std::chrono::steady_clock::now()) {}

Progress::~Progress() {
  if (shown_) std::fputs("\n", stream_);
}

void Progress::stepDone() {
  ++done_;
  if (!terminal_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - start_ < kQuietStart || (shown_ && now - lastShown_ < kInterval)) return;
  std::fprintf(stream_, "\rgnxp: step %d of %d", done_, total_);
  std::fflush(stream_);
  shown_ = true;
  lastShown_ = now;
}
