// Connection: the byte stream of one client connection, behind a small
// interface so that tests can feed scripted bytes and fail reads or writes.
// Thread rule: a connection is used by one thread at a time.
#pragma once

#include <chrono>
#include <cstddef>
#include <span>
#include <string_view>

// The moment a wait for bytes gives up.
using Deadline = std::chrono::steady_clock::time_point;
constexpr Deadline kNoDeadline = Deadline::max();

class Connection {
 public:
  // A response is sent in one gather write of at most this many pieces.
  static constexpr std::size_t kMaxPieces = 8;
  // What receive gives when the deadline passed before a byte arrived.
  static constexpr long kTimedOut = -2;

  virtual ~Connection() = default;

  // Receives up to `capacity` bytes into `into`, blocking until some arrive or
  // `until` passes. Returns the count received, 0 when the peer has closed,
  // kTimedOut, or -1 on failure.
  virtual long receive(char* into, std::size_t capacity, Deadline until) = 0;
  // Sends every piece in order as one write (retried on partial writes).
  // True when every byte went out. REQUIRES: pieces.size() <= kMaxPieces.
  virtual bool send(std::span<const std::string_view> pieces) = 0;
  // True when the peer has closed or reset the connection (or shut down its
  // sending side), whether or not unread bytes remain. Does not block.
  virtual bool peerClosed() const = 0;
  // The handle that names the connection (the socket descriptor).
  virtual long handle() const = 0;
};
