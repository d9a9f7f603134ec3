// BufferedConnection: reads lines and bodies of one connection through a
// buffer while keeping the byte-exact line rules of the wire format, and
// sends each response as one gather write.
// Thread rule: used by one thread at a time (the connection's own).
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "server/Connection.h"

// A line is a run of bytes ended by a carriage return; the one byte after the
// carriage return is consumed without being examined. At most
// kMaxLineBytes bytes may precede the carriage return.
class BufferedConnection {
 public:
  static constexpr std::size_t kMaxLineBytes = 253;
  static constexpr std::size_t kBufferSize = 4096;

  // Takes ownership of the connection. REQUIRES: connection is not null.
  explicit BufferedConnection(std::unique_ptr<Connection> connection);
  BufferedConnection(const BufferedConnection&) = delete;
  BufferedConnection& operator=(const BufferedConnection&) = delete;

  // Reads one line into `line` (without its carriage return). False when the
  // stream ended or failed before a carriage return, or when
  // kMaxLineBytes + 1 bytes came without one (those bytes are consumed).
  bool readLine(std::string& line);
  // Reads exactly `count` bytes into `body` (resized to what arrived). False
  // when the stream ended or failed first. Bytes after the body stay buffered.
  bool readBody(std::string& body, std::size_t count);
  // Sends the pieces in one write; true when every byte went out.
  bool send(std::initializer_list<std::string_view> pieces);
  long handle() const { return connection_->handle(); }

 private:
  // Makes at least one byte available; false when the stream ended or failed.
  bool fill();
  std::size_t available() const { return end_ - start_; }

  std::unique_ptr<Connection> connection_;
  // Invariant: start_ <= end_ <= kBufferSize; [start_, end_) is unread.
  std::array<char, kBufferSize> buffer_{};
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};
