// SocketConnection: a Connection over a connected POSIX TCP socket, which it
// owns and closes. Also the listening-socket helpers of the server.
// Thread rule: a connection is used by one thread at a time.
#pragma once

#include <cstdint>

#include "server/Connection.h"

class SocketConnection final : public Connection {
 public:
  // Takes ownership of the connected socket `descriptor` and disables Nagle's
  // algorithm on it, so that a short response never waits for a delayed ACK.
  explicit SocketConnection(int descriptor);
  ~SocketConnection() override;
  SocketConnection(const SocketConnection&) = delete;
  SocketConnection& operator=(const SocketConnection&) = delete;

  long receive(char* into, std::size_t capacity) override;
  bool send(std::span<const std::string_view> pieces) override;
  long handle() const override { return descriptor_; }

 private:
  int descriptor_;
};

// A listening IPv4 TCP socket on every interface at `port` (backlog 5), or -1
// when it cannot be created, bound or put to listening. Address reuse is
// allowed so a restarted server need not wait for old connections to time
// out; Linux still refuses the bind while another socket listens on the port.
int openListeningSocket(std::uint16_t port);
// Accepts one connection: its descriptor, or -1 when accepting failed for a
// reason other than an interrupted call or a connection the peer aborted
// before it was accepted (those are retried).
int acceptConnection(int listeningSocket);
