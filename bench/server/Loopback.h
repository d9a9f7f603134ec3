// The raw loopback plumbing the server benchmarks measure the server against:
// a listener on 127.0.0.1 with a port of the kernel's choice, connections
// without Nagle delays, and exact reads.
#pragma once

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>

// Turns Nagle's algorithm off on `descriptor` and returns it.
inline int noDelaySocket(int descriptor) {
  int on = 1;
  setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return descriptor;
}

// Reads exactly `size` bytes; false when the peer closed or reading failed first.
inline bool readExactly(int descriptor, char* into, std::size_t size) {
  for (std::size_t got = 0; got < size;) {
    ssize_t n = read(descriptor, into + got, size - got);
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

// A listening socket on the loopback address; closed when destroyed.
class LoopbackListener {
 public:
  explicit LoopbackListener(int backlog) : descriptor_(socket(AF_INET, SOCK_STREAM, 0)) {
    address_.sin_family = AF_INET;
    address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address_;
    bind(descriptor_, reinterpret_cast<sockaddr*>(&address_), size);
    listen(descriptor_, backlog);
    getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address_), &size);
  }
  ~LoopbackListener() { close(descriptor_); }
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  // The next connection, with Nagle off.
  int accept() const { return noDelaySocket(::accept(descriptor_, nullptr, nullptr)); }
  // A new client connection to this listener, with Nagle off.
  int connect() const {
    int client = noDelaySocket(socket(AF_INET, SOCK_STREAM, 0));
    ::connect(client, reinterpret_cast<const sockaddr*>(&address_), sizeof address_);
    return client;
  }

 private:
  int descriptor_;
  sockaddr_in address_{};
};
