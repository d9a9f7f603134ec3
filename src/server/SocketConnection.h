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

  long receive(char* into, std::size_t capacity, Deadline until) override;
  bool send(std::span<const std::string_view> pieces) override;
  bool peerClosed() const override;
  long handle() const override { return descriptor_; }

 private:
  // Waits until the socket has something to read (bytes, an end, an error):
  // 1, or 0 when `until` passed first, -1 on failure.
  int waitReadable(Deadline until) const;

  int descriptor_;
};

// A listening IPv4 TCP socket on every interface at `port` (backlog 5), or -1
// when it cannot be created, bound or put to listening. Address reuse is
// allowed so a restarted server need not wait for old connections to time
// out; Linux still refuses the bind while another socket listens on the port.
int openListeningSocket(std::uint16_t port);
// Accepts one connection: its descriptor, or -1 with errno set. An interrupted
// call and a connection the peer aborted before it was accepted are retried.
int acceptConnection(int listeningSocket);
// False for the accept errors that mean the listening socket itself is unusable;
// every other one (out of descriptors or memory, a network error passed on
// from a pending connection) may pass, and accepting should be tried again.
bool acceptMayRecover(int error);
// Raises this process's soft limit on open descriptors to its hard limit, so
// that the cap on conversations, not the descriptor table, is what limits them.
void raiseDescriptorLimit();
