// The TCP server end to end: identification, the protocol table, one thread
// per client, port selection and the program's ends.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <thread>
#include <vector>

#include "E2EHarness.h"

namespace {

constexpr const char* kReadFailure =
    "TCPServer failed to read protocol identification. Possibly invalid data sent. Ignoring connection.";
ServerProcess::Options onPort(const std::string& portText) {
  ServerProcess::Options options;
  options.portText = portText;
  return options;
}

constexpr const char* kNoProxy = "TCPServer: Unable to obtain appropriate proxy for protocol:";

struct RefusedRow {
  const char* name;
  std::string sent;
  std::vector<std::string> logged;  // the log lines after kNoProxy
};

// Names the row in test listings.
void PrintTo(const RefusedRow& row, std::ostream* out) { *out << row.name; }

class RefusedProtocol : public ServedTest, public testing::WithParamInterface<RefusedRow> {};

TEST_P(RefusedProtocol, GetsWrongProtocolAndIsClosed) {
  auto client = connect();
  ASSERT_TRUE(client->sendRaw(GetParam().sent));
  bool closed = false;
  EXPECT_EQ(client->readUntilClosed(closed), "Wrong protocol\r\n");
  EXPECT_TRUE(closed);
  std::vector<std::string> expected = {kNoProxy};
  expected.insert(expected.end(), GetParam().logged.begin(), GetParam().logged.end());
  EXPECT_TRUE(server_->waitForLines(expected)) << log();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedProtocol,
    testing::Values(RefusedRow{"trailing_blank", "GNXP/0.1 \r\n", {"GNXP/0.1 "}},
                    RefusedRow{"lower_case", "gnxp/0.1\r\n", {"gnxp/0.1"}},
                    RefusedRow{"extra_digit", "GNXP/0.10\r\n", {"GNXP/0.10"}}, RefusedRow{"empty_line", "\r\n", {""}},
                    // A line feed alone does not end the line; the log shows the text as two lines.
                    RefusedRow{"line_feed_alone", "GNXP/0.1\nHALT\r\n", {"GNXP/0.1", "HALT"}},
                    RefusedRow{"line_of_253_bytes", std::string(253, 'Z') + "\r\n", {std::string(253, 'Z')}}),
    [](const testing::TestParamInfo<RefusedRow>& row) { return std::string(row.param.name); });

TEST_F(ServedTest, AcceptedClientHearsNothingUntilItsFirstRequest) {
  auto client = identified();
  client->setReceiveTimeout(300);
  bool closed = true;
  EXPECT_EQ(client->readUntilClosed(closed), "");
  EXPECT_FALSE(closed);
  ASSERT_TRUE(client->sendHalt());
  client->setReceiveTimeout(kReceiveLimitMs);
  EXPECT_EQ(client->readUntilClosed(closed), "");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(server_->waitForLines({"GNXP 0.1 communication successfully initiated...", "***Received message:", "HALT",
                                     "GNXP 0.1 communication terminated..."}))
      << log();
}

TEST_F(ServedTest, LineOf254BytesWithoutCarriageReturnIsIgnoredWithoutReply) {
  auto client = connect();
  ASSERT_TRUE(client->sendRaw(std::string(254, 'G')));
  bool closed = false;
  EXPECT_EQ(client->readUntilClosed(closed), "");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(server_->waitForLines({kReadFailure})) << log();
}

TEST_F(ServedTest, ClientThatClosesBeforeTheLineEndsIsIgnored) {
  connect()->sendRaw("GNXP/0");
  EXPECT_TRUE(server_->waitForLines({kReadFailure})) << log();
}

TEST_F(ServedTest, AnyByteAfterTheCarriageReturnIsConsumed) {
  auto client = connect();
  ASSERT_TRUE(client->sendRaw("GNXP/0.1\rXSTEP\r\n\r\n"));
  GnxpResponse response;
  ASSERT_TRUE(client->readResponse(response)) << client->error();
  EXPECT_EQ(response.status, "100 Malformed request");
  EXPECT_TRUE(server_->waitForLines({"GNXP/0.1 proxy. Call to STEP prior to call of INIT."})) << log();
}

// Identification is read on the connection's own thread.
TEST_F(ServedTest, SilentClientDoesNotHoldUpTheNext) {
  auto silent = connect();
  auto other = identified();
  GnxpResponse response;
  ASSERT_TRUE(other->step(1, response)) << other->error();
  EXPECT_EQ(response.status, "100 Malformed request");
  ASSERT_TRUE(silent->identify());
  ASSERT_TRUE(silent->step(1, response)) << silent->error();
  EXPECT_EQ(response.status, "100 Malformed request");
}

TEST_F(ServedTest, TwoConversationsRunAtOnceEachWithItsOwnNet) {
  auto first = identified();
  auto second = identified();
  GnxpResponse response;
  ASSERT_TRUE(first->init(kPassThrough, response)) << first->error();
  EXPECT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(second->init(kPassThrough, response)) << second->error();
  EXPECT_EQ(response.status, "200 Request completed successfully");
  ASSERT_TRUE(first->step(2, response));
  std::string firstTwoSteps = response.body;
  ASSERT_TRUE(second->step(1, response));
  std::string secondOneStep = response.body;
  EXPECT_NE(firstTwoSteps.find("<movement token=\"k\" place=\"B\">"), std::string::npos) << firstTwoSteps;
  EXPECT_EQ(secondOneStep.find("<movement"), std::string::npos) << secondOneStep;
  EXPECT_NE(secondOneStep.find("<entrance token=\"k\" place=\"A\">"), std::string::npos) << secondOneStep;
}

TEST(ServerProgram, EndsWithStatusZeroOnSigtermAndSigint) {
  for (int signal : {SIGTERM, SIGINT}) {
    std::string error;
    auto server = ServerProcess::startServing(error);
    ASSERT_NE(server, nullptr) << error;
    EXPECT_EQ(server->stop(signal), 0) << signal;
  }
}

TEST(ServerProgram, PortTakenByAnotherServerEndsWithStatusOne) {
  std::string error;
  auto first = ServerProcess::startServing(error);
  ASSERT_NE(first, nullptr) << error;
  auto second = ServerProcess::start(onPort(std::to_string(first->port())), error);
  ASSERT_NE(second, nullptr) << error;
  EXPECT_EQ(second->waitForExit(), 1);
  EXPECT_EQ(second->logLines(), std::vector<std::string>{"TCPServer initialization failed on prepareListenSocket..."});
  EXPECT_FALSE(first->waitForExit(std::chrono::milliseconds(0)).has_value());
}

TEST(ServerProgram, PortNumberThatIsNoPortEndsWithStatusOne) {
  for (const char* text : {"0", "65536", "12ab", "", "-5"}) {
    std::string error;
    auto server = ServerProcess::start(onPort(text), error);
    ASSERT_NE(server, nullptr) << error;
    EXPECT_EQ(server->waitForExit(), 1) << text;
    EXPECT_TRUE(hasLineRun(server->logLines(), {std::string("VANTER_PORT is not a port number (1 to 65535): ") + text,
                                                "TCPServer initialization failed on prepareListenSocket..."}))
        << text << server->standardOutput();
  }
}

}  // namespace

// Regression: with a listen backlog of five, a burst of clients connecting at
// once had some of their connections reset before the server accepted them.
TEST_F(ServedTest, BurstOfFiftyClientsIsServedWhole) {
  constexpr int kClients = 50;
  std::atomic<int> served{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&] {
      std::string error;
      auto client = GnxpClient::connect("127.0.0.1", server_->port(), error);
      if (!client) return;
      client->setReceiveTimeout(kReceiveLimitMs);
      GnxpResponse response;
      if (client->identify() && client->init(kPassThrough, response) && client->step(1, response) &&
          response.body.find("<entrance token=\"k\" place=\"A\">") != std::string::npos) {
        ++served;
      }
      client->sendHalt();
    });
  }
  for (auto& client : clients) client.join();
  EXPECT_EQ(served.load(), kClients) << log();
}
