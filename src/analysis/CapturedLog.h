// CapturedLog: the log of a net that runs quietly, one of many replications:
// its messages are kept (up to kMaxKept characters) to be shown only when
// loading fails, and the first runtime error is kept as one line.
// Thread rule: written by the thread that runs its net, read after it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/SimpleInterface.h"

class CapturedLog final : public CSimpleInterface {
 public:
  // Messages beyond this many characters in all are dropped.
  static constexpr std::size_t kMaxKept = 64 * 1024;

  void write(std::string_view message) override;

  // The messages kept, each followed by a line feed.
  const std::string& text() const { return text_; }
  // The first runtime error's message on one line, or empty when none was written.
  const std::string& firstError() const { return firstError_; }

 private:
  std::string text_;
  std::string firstError_;
};

// The message of a runtime error report on one line: a built-in's report
// gives the message inside its frame, any other text is kept whole; runs of
// white space become one blank.
std::string errorLine(std::string_view report);
