// The log sink through which every part of the server reports to the user.
// Thread rule: write and flush may be called from any thread; writers take
// turns, so messages are never mixed, and each writer's messages are shown in
// the order it wrote them.
#pragma once

#include <cstddef>
#include <string_view>

class CSimpleInterface {
 public:
  // A message longer than this is cut to it by the sinks; writers stay within it.
  static constexpr std::size_t kMaxMessage = 999;

  virtual ~CSimpleInterface() = default;

  // Appends one message; it shows as one line (more when it holds line breaks).
  virtual void write(std::string_view message) = 0;

  // Returns once every message written before the call is shown, for output
  // that shares the sink's stream; a sink that shows each message before
  // write returns has nothing to wait for.
  virtual void flush() {}

  // Does nothing in every sink; kept for callers that expect it.
  virtual void clear() {}
};
