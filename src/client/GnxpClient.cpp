// GnxpClient over POSIX sockets.
#include "client/GnxpClient.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace {

constexpr std::size_t kReceiveChunk = 64 * 1024;
constexpr std::string_view kContentLength = "Content-Length: ";

int connectTo(const addrinfo* address) {
  int descriptor = socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
  if (descriptor < 0) return -1;
  if (::connect(descriptor, address->ai_addr, address->ai_addrlen) == 0) return descriptor;
  int saved = errno;
  close(descriptor);
  errno = saved;
  return -1;
}

}  // namespace

std::unique_ptr<GnxpClient> GnxpClient::connect(const std::string& host, std::uint16_t port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::string where = host + ":" + std::to_string(port);
  if (int status = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); status != 0) {
    error = "cannot resolve " + where + ": " + gai_strerror(status);
    return nullptr;
  }
  int descriptor = -1;
  for (const addrinfo* address = found; address != nullptr && descriptor < 0; address = address->ai_next) {
    descriptor = connectTo(address);
  }
  int reason = errno;
  freeaddrinfo(found);
  if (descriptor < 0) {
    error = "cannot connect to " + where + ": " + std::strerror(reason);
    return nullptr;
  }
  int on = 1;
  setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return std::unique_ptr<GnxpClient>(new GnxpClient(descriptor));
}

GnxpClient::~GnxpClient() { close(descriptor_); }

void GnxpClient::setReceiveTimeout(int milliseconds) {
  timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
  setsockopt(descriptor_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

bool GnxpClient::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool GnxpClient::sendRaw(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t sent = ::send(descriptor_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return fail(std::string("cannot send: ") + std::strerror(errno));
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool GnxpClient::identify() { return sendRaw("GNXP/0.1\r\n"); }

bool GnxpClient::sendInit(std::string_view definition) {
  std::string request =
      "INIT\r\nContent-Length: " + std::to_string(definition.size()) + "\r\nContent-Type: text/xml\r\n\r\n";
  request += definition;
  return sendRaw(request);
}

bool GnxpClient::sendStep(int count) { return sendRaw("STEP " + std::to_string(count) + "\r\n\r\n"); }

bool GnxpClient::sendHalt() { return sendRaw("HALT\r\n"); }

bool GnxpClient::init(std::string_view definition, GnxpResponse& response) {
  return sendInit(definition) && readResponse(response);
}

bool GnxpClient::step(int count, GnxpResponse& response) { return sendStep(count) && readResponse(response); }

bool GnxpClient::fill() {
  if (consumed_ < buffer_.size()) return true;
  buffer_.clear();
  consumed_ = 0;
  char chunk[kReceiveChunk];
  for (;;) {
    ssize_t count = recv(descriptor_, chunk, sizeof chunk, 0);
    if (count > 0) {
      buffer_.assign(chunk, static_cast<std::size_t>(count));
      return true;
    }
    if (count < 0 && errno == EINTR) continue;
    peerClosed_ = count == 0 || errno == ECONNRESET;
    error_ = count == 0                                ? "the server closed the connection"
             : errno == EAGAIN || errno == EWOULDBLOCK ? "no answer from the server in time"
                                                       : std::string("cannot receive: ") + std::strerror(errno);
    return false;
  }
}

bool GnxpClient::readCrLfLine(std::string& line) {
  line.clear();
  for (;;) {
    if (!fill()) return false;
    std::size_t end = buffer_.find('\n', consumed_);
    std::size_t stop = end == std::string::npos ? buffer_.size() : end;
    line.append(buffer_, consumed_, stop - consumed_);
    consumed_ = end == std::string::npos ? stop : end + 1;
    if (end != std::string::npos) break;
  }
  if (line.empty() || line.back() != '\r') return fail("a response line does not end with CR LF: " + line);
  line.pop_back();
  return true;
}

bool GnxpClient::readBytes(std::string& into, std::size_t count) {
  into.clear();
  while (into.size() < count) {
    if (!fill()) return false;
    std::size_t take = std::min(count - into.size(), buffer_.size() - consumed_);
    into.append(buffer_, consumed_, take);
    consumed_ += take;
  }
  return true;
}

bool GnxpClient::readResponse(GnxpResponse& response) {
  response = GnxpResponse{};
  std::string line;
  if (!readCrLfLine(line)) return false;
  if (line != "GNXP/0.1") return fail("not a GNXP/0.1 response: " + line);
  if (!readCrLfLine(response.status) || !readCrLfLine(line)) return false;
  if (line.empty()) return true;
  std::size_t length = 0;
  const char* digits = line.data() + kContentLength.size();
  if (!line.starts_with(kContentLength) ||
      std::from_chars(digits, line.data() + line.size(), length).ptr != line.data() + line.size()) {
    return fail("unexpected response header: " + line);
  }
  if (!readCrLfLine(line)) return false;
  if (!line.empty()) return fail("no empty line after the response headers");
  response.hasBody = true;
  return readBytes(response.body, length);
}

std::string GnxpClient::readUntilClosed(bool& closed) {
  std::string received = buffer_.substr(consumed_);
  buffer_.clear();
  consumed_ = 0;
  while (fill()) {
    received += buffer_;
    consumed_ = buffer_.size();
  }
  closed = peerClosed_;
  return received;
}
