// BufferedConnection: buffered line and body reading, gather writes.
#include "server/BufferedConnection.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <span>

BufferedConnection::BufferedConnection(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {
  assert(connection_);
}

bool BufferedConnection::fill() {
  if (available() > 0) return true;
  long count = connection_->receive(buffer_.data(), buffer_.size());
  if (count <= 0) return false;
  start_ = 0;
  end_ = static_cast<std::size_t>(count);
  return true;
}

bool BufferedConnection::readLine(std::string& line) {
  line.clear();
  while (line.size() <= kMaxLineBytes) {
    if (!fill()) return false;
    std::size_t room = kMaxLineBytes + 1 - line.size();
    const char* first = buffer_.data() + start_;
    std::size_t scan = std::min(available(), room);
    const void* cr = std::memchr(first, '\r', scan);
    if (cr == nullptr) {
      line.append(first, scan);
      start_ += scan;
      continue;
    }
    std::size_t length = static_cast<std::size_t>(static_cast<const char*>(cr) - first);
    line.append(first, length);
    start_ += length + 1;
    // The byte after the carriage return is consumed whatever it is, or lost.
    if (fill()) ++start_;
    return true;
  }
  return false;
}

bool BufferedConnection::readBody(std::string& body, std::size_t count) {
  body.resize(count);
  std::size_t taken = std::min(available(), count);
  std::memcpy(body.data(), buffer_.data() + start_, taken);
  start_ += taken;
  while (taken < count) {
    long received = connection_->receive(body.data() + taken, count - taken);
    if (received <= 0) {
      body.resize(taken);
      return false;
    }
    taken += static_cast<std::size_t>(received);
  }
  return true;
}

bool BufferedConnection::send(std::initializer_list<std::string_view> pieces) {
  return connection_->send(std::span<const std::string_view>(pieces.begin(), pieces.size()));
}
