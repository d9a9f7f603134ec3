// A Connection for tests: receives come from scripted chunks (one chunk at
// most per receive, to split reads on purpose), sends are recorded one entry
// per gather write, and either side can be made to fail. The script outlives
// the connection, so a test can look at it after the code under test has
// closed the connection.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "server/Connection.h"

struct FakeWire {
  std::deque<std::string> incoming;  // what the peer sends, chunk by chunk
  bool failAtEnd = false;            // after the last chunk: -1 instead of 0
  bool throwAtEnd = false;           // after the last chunk: receive throws something no library would
  bool failSends = false;
  long handle = 0x1A4;
  std::vector<std::string> sends;  // one entry per send call
  bool closed = false;

  std::string sent() const {
    std::string all;
    for (const auto& piece : sends) all += piece;
    return all;
  }
};

class FakeConnection final : public Connection {
 public:
  explicit FakeConnection(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {}
  ~FakeConnection() override { wire_->closed = true; }

  long receive(char* into, std::size_t capacity, Deadline) override {
    auto& incoming = wire_->incoming;
    while (!incoming.empty() && incoming.front().empty()) incoming.pop_front();
    if (incoming.empty() && wire_->throwAtEnd) throw 42;
    if (incoming.empty()) return wire_->failAtEnd ? -1 : 0;
    std::string& chunk = incoming.front();
    std::size_t count = std::min(capacity, chunk.size());
    std::memcpy(into, chunk.data(), count);
    chunk.erase(0, count);
    return static_cast<long>(count);
  }
  bool send(std::span<const std::string_view> pieces) override {
    std::string joined;
    for (auto piece : pieces) joined += piece;
    if (wire_->failSends) return false;
    wire_->sends.push_back(joined);
    return true;
  }
  // The script is all the peer does: it is never seen to close before its end.
  bool peerClosed() const override { return false; }
  long handle() const override { return wire_->handle; }

 private:
  std::shared_ptr<FakeWire> wire_;
};
