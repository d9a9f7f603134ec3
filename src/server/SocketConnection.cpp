// SocketConnection over POSIX sockets, and the listening-socket helpers.
#include "server/SocketConnection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cerrno>
#include <limits>

SocketConnection::SocketConnection(int descriptor) : descriptor_(descriptor) {
  int on = 1;
  setsockopt(descriptor_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

SocketConnection::~SocketConnection() { close(descriptor_); }

long SocketConnection::receive(char* into, std::size_t capacity, Deadline until) {
  for (;;) {
    if (until != kNoDeadline) {
      int ready = waitReadable(until);
      if (ready <= 0) return ready == 0 ? kTimedOut : -1;
    }
    ssize_t count = recv(descriptor_, into, capacity, 0);
    if (count >= 0) return static_cast<long>(count);
    if (errno != EINTR) return -1;
  }
}

int SocketConnection::waitReadable(Deadline until) const {
  pollfd socket{descriptor_, POLLIN, 0};
  for (;;) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Deadline::clock::now()).count();
    int timeout = static_cast<int>(std::clamp<decltype(left)>(left, 0, std::numeric_limits<int>::max()));
    int ready = poll(&socket, 1, timeout);
    if (ready >= 0) return ready;
    if (errno != EINTR) return -1;
  }
}

bool SocketConnection::peerClosed() const {
  pollfd socket{descriptor_, POLLRDHUP, 0};
  return poll(&socket, 1, 0) > 0 && (socket.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

namespace {

// Drops `sent` bytes from the front of the iovec run [first, end).
iovec* advancePieces(iovec* first, iovec* end, std::size_t sent) {
  while (first != end && sent >= first->iov_len) {
    sent -= first->iov_len;
    ++first;
  }
  if (first != end) {
    first->iov_base = static_cast<char*>(first->iov_base) + sent;
    first->iov_len -= sent;
  }
  return first;
}

}  // namespace

bool SocketConnection::send(std::span<const std::string_view> pieces) {
  assert(pieces.size() <= kMaxPieces);
  std::array<iovec, kMaxPieces> vectors{};
  std::size_t count = 0;
  for (std::string_view piece : pieces) {
    if (piece.empty()) continue;
    vectors[count++] = iovec{const_cast<char*>(piece.data()), piece.size()};
  }
  iovec* first = vectors.data();
  iovec* end = first + count;
  while (first != end) {
    msghdr message{};
    message.msg_iov = first;
    message.msg_iovlen = static_cast<std::size_t>(end - first);
    // MSG_NOSIGNAL: a peer that has gone away gives a failed send, not SIGPIPE.
    ssize_t sent = sendmsg(descriptor_, &message, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    first = advancePieces(first, end, static_cast<std::size_t>(sent));
  }
  return true;
}

int openListeningSocket(std::uint16_t port) {
  // Close-on-exec: programs that built-ins start must not hold our sockets open.
  int descriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (descriptor < 0) return -1;
  int on = 1;
  setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  // A backlog of a handful lets the kernel reset clients that connect in a
  // burst (dozens at once) before the accept loop reaches them.
  constexpr int kBacklog = SOMAXCONN;
  if (bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(descriptor, kBacklog) != 0) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

int acceptConnection(int listeningSocket) {
  for (;;) {
    int descriptor = accept4(listeningSocket, nullptr, nullptr, SOCK_CLOEXEC);
    if (descriptor >= 0) return descriptor;
    if (errno != EINTR && errno != ECONNABORTED) return -1;
  }
}

bool acceptMayRecover(int error) {
  return error != EBADF && error != EINVAL && error != ENOTSOCK && error != EFAULT;
}

void raiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}
