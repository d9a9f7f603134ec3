// BufferedConnection: buffered line and body reading, gather writes.
#include "server/BufferedConnection.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <span>

BufferedConnection::BufferedConnection(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {
  assert(connection_);
}

void BufferedConnection::limitWaits(Deadline deadline, std::optional<std::chrono::milliseconds> silence) {
  deadline_ = deadline;
  silence_ = silence;
}

long BufferedConnection::receive(char* into, std::size_t capacity) {
  if (timedOut_) return Connection::kTimedOut;
  Deadline until = silence_ ? std::min(deadline_, Deadline::clock::now() + *silence_) : deadline_;
  long count = connection_->receive(into, capacity, until);
  if (count == Connection::kTimedOut) timedOut_ = true;
  return count;
}

bool BufferedConnection::fill() {
  if (available() > 0) return true;
  long count = receive(buffer_.data(), buffer_.size());
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

bool BufferedConnection::readBody(std::size_t count, const std::function<bool(std::string_view)>& sink) {
  std::size_t taken = std::min(available(), count);
  const std::string_view buffered(buffer_.data() + start_, taken);
  start_ += taken;
  if (taken > 0 && !sink(buffered)) return false;
  if (taken == count) return true;
  std::string piece(std::min(count - taken, kBodyChunk), '\0');
  while (taken < count) {
    long received = receive(piece.data(), std::min(piece.size(), count - taken));
    if (received <= 0 || !sink({piece.data(), static_cast<std::size_t>(received)})) return false;
    taken += static_cast<std::size_t>(received);
  }
  return true;
}

bool BufferedConnection::send(std::initializer_list<std::string_view> pieces) {
  return connection_->send(std::span<const std::string_view>(pieces.begin(), pieces.size()));
}
