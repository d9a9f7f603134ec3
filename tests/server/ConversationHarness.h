// Runs a GNXP01Proxy conversation over a scripted connection and a fake net,
// in a fresh temporary working directory (the INIT body is saved there).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FakeConnection.h"
#include "FakeSession.h"
#include "RecordingLog.h"
#include "server/BufferedConnection.h"
#include "server/GNXP01Proxy.h"

inline std::string statusResponse(std::string_view text) { return "GNXP/0.1\r\n" + std::string(text) + "\r\n\r\n"; }

inline std::string bodyResponse(std::string_view body) {
  return "GNXP/0.1\r\n200 Request completed sucessfully\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + std::string(body);
}

// True when `expected` occurs as a contiguous run of `messages`.
inline bool hasRun(const std::vector<std::string>& messages, const std::vector<std::string>& expected) {
  if (expected.size() > messages.size()) return false;
  for (std::size_t start = 0; start + expected.size() <= messages.size(); ++start) {
    if (std::equal(expected.begin(), expected.end(), messages.begin() + static_cast<long>(start))) return true;
  }
  return false;
}

// A fixture whose tests run in a fresh temporary directory.
class InTemporaryDirectory : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vanter-proxy-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(directory_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(directory_);
  }
  std::filesystem::path directory_;
  std::filesystem::path previous_;
};

struct Conversation {
  FakeNet net;
  std::shared_ptr<FakeWire> wire = std::make_shared<FakeWire>();
  RecordingLog log;

  // Runs the whole conversation on `chunks` and destroys the proxy.
  void run(std::vector<std::string> chunks) {
    wire->incoming.assign(chunks.begin(), chunks.end());
    auto proxy = std::make_unique<GNXP01Proxy>(fakeSessions(net));
    proxy->attach(std::make_unique<BufferedConnection>(std::make_unique<FakeConnection>(wire)), log);
    proxy->run();
  }
  std::string calls() const {
    std::string all;
    for (const auto& call : net.calls) all += (all.empty() ? "" : ",") + call;
    return all;
  }
};
