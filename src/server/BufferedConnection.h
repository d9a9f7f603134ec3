// BufferedConnection: reads lines and bodies of one connection through a
// buffer while keeping the byte-exact line rules of the wire format, waits for
// bytes only as long as its limits allow, and sends each response as one
// gather write.
// Thread rule: used by one thread at a time (the connection's own).
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
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
  // A body is received this much at a time, so that memory stays one piece
  // whatever the count announced.
  static constexpr std::size_t kBodyChunk = 64 * 1024;

  // Takes ownership of the connection. REQUIRES: connection is not null.
  explicit BufferedConnection(std::unique_ptr<Connection> connection);
  BufferedConnection(const BufferedConnection&) = delete;
  BufferedConnection& operator=(const BufferedConnection&) = delete;

  // From now on a wait for bytes gives up at `deadline` (kNoDeadline: never)
  // or after `silence` without a byte (none: never), whichever comes first.
  void limitWaits(Deadline deadline, std::optional<std::chrono::milliseconds> silence);
  // True once a wait gave up under those limits; reads then fail.
  bool timedOut() const { return timedOut_; }

  // Reads one line into `line` (without its carriage return). False when the
  // stream ended, failed or timed out before a carriage return, or when
  // kMaxLineBytes + 1 bytes came without one (those bytes are consumed).
  bool readLine(std::string& line);
  // Reads exactly `count` bytes, handing them to `sink` piece by piece as they
  // arrive, at most kBodyChunk at a time. False when the stream ended, failed
  // or timed out first, or when the sink refused a piece (it returns false).
  // Bytes after the body stay buffered.
  bool readBody(std::size_t count, const std::function<bool(std::string_view)>& sink);
  // Sends the pieces in one write; true when every byte went out.
  bool send(std::initializer_list<std::string_view> pieces);
  bool peerClosed() const { return connection_->peerClosed(); }
  long handle() const { return connection_->handle(); }

 private:
  // Makes at least one byte available; false when the stream ended or failed.
  bool fill();
  // One receive under the wait limits: as Connection::receive, noting a timeout.
  long receive(char* into, std::size_t capacity);
  std::size_t available() const { return end_ - start_; }

  std::unique_ptr<Connection> connection_;
  // Invariant: start_ <= end_ <= kBufferSize; [start_, end_) is unread.
  std::array<char, kBufferSize> buffer_{};
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  Deadline deadline_ = kNoDeadline;
  std::optional<std::chrono::milliseconds> silence_;
  bool timedOut_ = false;
};
