// What the end-to-end suites share: a serving VanterServerHeadless per test,
// clients with a receive time limit, and the definitions they send.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ServerProcess.h"
#include "client/GnxpClient.h"

// Receives in these tests never wait longer than this.
constexpr int kReceiveLimitMs = 10000;

inline std::string definition(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<gn xmlns=\"urn:vanterserver:gn-definition\">" + body +
         "</gn>\n";
}

// Place A, transition T to place B, token k entering A at time 0.
inline const std::string kPassThrough = definition(
    "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
    "<predicates default=\"true\"/></transition></transitions><places><place id=\"A\"/><place id=\"B\"/></places>"
    "<tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" type=\"double\">1</characteristic>"
    "</token></tokens>");

// The pass-through net whose place B runs a characteristic function that
// divides by zero: the second step ends in a runtime error.
inline const std::string kFailsInStepTwo = definition(
    "<transitions><transition id=\"T\"><inputs><input ref=\"A\"/></inputs><outputs><output ref=\"B\"/></outputs>"
    "<predicates default=\"true\"/></transition></transitions>"
    "<places><place id=\"A\"/><place id=\"B\" char=\"bad\"/></places>"
    "<functions>(defun bad \"0\" () () (/ 1 0))</functions>"
    "<tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" type=\"double\">1</characteristic>"
    "</token></tokens>");

inline const std::string kEmptyNet = definition("");

class ServedTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    server_ = ServerProcess::startServing(error, options_);
    ASSERT_NE(server_, nullptr) << error;
  }

  // A client connected to the server, with the receive limit set.
  std::unique_ptr<GnxpClient> connect() {
    std::string error;
    auto client = GnxpClient::connect("127.0.0.1", server_->port(), error);
    EXPECT_NE(client, nullptr) << error;
    if (client) client->setReceiveTimeout(kReceiveLimitMs);
    return client;
  }
  // A client that has sent the identification.
  std::unique_ptr<GnxpClient> identified() {
    auto client = connect();
    if (client) {
      EXPECT_TRUE(client->identify()) << client->error();
    }
    return client;
  }
  // The server's log, then anything it wrote to standard error (a sanitizer's
  // report, say), so that a failure shows why the server went away.
  std::string log() const { return server_->standardOutput() + server_->standardError(); }
  std::string fileInServer(const std::string& name) const {
    std::ifstream file(server_->directory() / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  // What SetUp starts the server with; a derived fixture may fill it in first.
  ServerProcess::Options options_;
  std::unique_ptr<ServerProcess> server_;
};
