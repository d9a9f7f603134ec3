// What one client can do to the real server: exhaust its descriptors, hold
// conversations open, stay silent, announce a huge body, leave work running.
// Each is answered or refused, and a second client is served afterwards.
#include <sys/resource.h>

#include <thread>

#include "E2EHarness.h"

namespace {

constexpr const char* kHandshake = "VANTER_HANDSHAKE_TIMEOUT";
constexpr const char* kIdle = "VANTER_IDLE_TIMEOUT";
constexpr const char* kNotInTime = "GNXP/0.1 Proxy: No request received in time. Closing connection.";
constexpr const char* kClientGone = "GNXP/0.1 Proxy: The client has gone; its request was stopped.";
constexpr const char* kTerminated = "GNXP 0.1 communication terminated...";

// Place A runs `body` as the characteristic function of token k, which enters at step 0.
std::string spinning(const std::string& body) {
  return definition(
      "<places><place id=\"A\" char=\"spin\"/></places>"
      "<functions>(defun spin \"0\" () (i) " + body + ")</functions>"
      "<tokens><token id=\"k\" host=\"A\"><characteristic name=\"Default\" type=\"double\">1</characteristic>"
      "</token></tokens>");
}

const std::string kEndlessWhile = spinning("(while 1 0)");

std::string initRequest(const std::string& body, std::size_t announced) {
  return "INIT\r\nContent-Length: " + std::to_string(announced) + "\r\nContent-Type: text/xml\r\n\r\n" + body;
}

ServerProcess::Options withEnvironment(std::vector<std::pair<std::string, std::string>> variables) {
  ServerProcess::Options options;
  options.environment = std::move(variables);
  return options;
}

// A client connects, builds the pass-through net and steps it: true when the
// events came back.
bool servesAClient(const ServerProcess& server) {
  std::string error;
  auto client = GnxpClient::connect("127.0.0.1", server.port(), error);
  if (!client) return false;
  client->setReceiveTimeout(kReceiveLimitMs);
  GnxpResponse response;
  bool served = client->identify() && client->init(kPassThrough, response) &&
                response.status == "200 Request completed successfully" && client->step(1, response) &&
                response.body.find("<entrance token=\"k\" place=\"A\">") != std::string::npos;
  client->sendHalt();
  return served;
}

// servesAClient, tried until it succeeds or `limit` passes: a conversation that
// has ended gives its place back a moment after its farewell is logged.
bool servesAClientWithin(const ServerProcess& server, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!servesAClient(server)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::size_t linesEqualTo(const std::vector<std::string>& log, const std::string& line) {
  return static_cast<std::size_t>(std::count(log.begin(), log.end(), line));
}

// Regression: accept failing with EMFILE ended the server, and every
// conversation with it.
TEST(DescriptorExhaustion, ListenerWaitsAndServesAgain) {
  rlimit ours{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &ours), 0);
  rlimit lowered{64, ours.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
  std::string error;
  auto server = ServerProcess::startServing(
      error, withEnvironment({{"UBSAN_OPTIONS", "print_stacktrace=1:suppressions=" VANTER_SOURCE_DIR
                                                "/tests/e2e/descriptors-exhausted.supp"}}));
  setrlimit(RLIMIT_NOFILE, &ours);
  ASSERT_NE(server, nullptr) << error;
  auto limits = server->descriptorLimits();
  ASSERT_TRUE(limits.has_value());
  EXPECT_EQ(limits->first, limits->second) << "the soft limit is raised to the hard one";

  constexpr int kDescriptors = 32;
  ASSERT_TRUE(server->limitDescriptors(kDescriptors));
  std::vector<std::unique_ptr<GnxpClient>> idle;
  for (int i = 0; i < kDescriptors + 16; ++i) idle.push_back(GnxpClient::connect("127.0.0.1", server->port(), error));
  EXPECT_TRUE(server->waitForLines({"TCPServer could not accept a connection (Too many open files); trying again."}))
      << server->standardOutput();
  idle.clear();
  EXPECT_TRUE(servesAClientWithin(*server)) << server->standardOutput();
  EXPECT_FALSE(server->waitForExit(std::chrono::milliseconds(0)).has_value());
}

class ConnectionCap : public ServedTest {
 protected:
  ConnectionCap() { options_ = withEnvironment({{"VANTER_MAX_CONNECTIONS", "3"}}); }
};

TEST_F(ConnectionCap, ConnectionOverTheCapIsClosedAtOnce) {
  std::vector<std::unique_ptr<GnxpClient>> held;
  for (int i = 0; i < 3; ++i) held.push_back(identified());
  ASSERT_TRUE(server_->waitForLines({"GNXP 0.1 communication successfully initiated..."}));
  auto over = connect();
  bool closed = false;
  EXPECT_EQ(over->readUntilClosed(closed), "");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(server_->waitForLines({"TCPServer: 3 conversations already (VANTER_MAX_CONNECTIONS). Connection closed."}))
      << log();
  held.pop_back();
  EXPECT_TRUE(servesAClientWithin(*server_)) << log();
}

struct SilenceRow {
  const char* name;
  const char* variable;  // set to 0.5 seconds
  std::string sent;
  std::string answered;  // what the client receives before the server closes
  std::string logged;
};

// Names the row in test listings.
void PrintTo(const SilenceRow& row, std::ostream* out) { *out << row.name; }

class SilentClient : public ServedTest, public testing::WithParamInterface<SilenceRow> {
 protected:
  SilentClient() { options_ = withEnvironment({{GetParam().variable, "0.5"}}); }
};

TEST_P(SilentClient, IsClosedAfterTheLimitAndOthersAreServed) {
  auto client = connect();
  ASSERT_TRUE(client->sendRaw(GetParam().sent));
  bool closed = false;
  EXPECT_EQ(client->readUntilClosed(closed), GetParam().answered);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(server_->waitForLines({GetParam().logged})) << log();
  EXPECT_TRUE(servesAClient(*server_)) << log();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SilentClient,
    testing::Values(
        SilenceRow{"no_identification", kHandshake, "", "",
                   "TCPServer: Protocol identification not received in time. Ignoring connection."},
        SilenceRow{"identified_without_request", kHandshake, "GNXP/0.1\r\n", "", kNotInTime},
        SilenceRow{"half_a_request_line", kHandshake, "GNXP/0.1\r\nST", "", kNotInTime},
        SilenceRow{"idle_after_init", kIdle, "GNXP/0.1\r\n" + initRequest(kEmptyNet, kEmptyNet.size()),
                   "GNXP/0.1\r\n200 Request completed successfully\r\n\r\n", kNotInTime}),
    [](const testing::TestParamInfo<SilenceRow>& row) { return std::string(row.param.name); });

class InvalidLimits : public ServedTest {
 protected:
  InvalidLimits() {
    options_ = withEnvironment({{"VANTER_MAX_CONNECTIONS", "many"},
                                {kHandshake, "-1"},
                                {kIdle, "0"},
                                {"VANTER_STEP_LIMIT_S", "1e3"}});
  }
};

TEST_F(InvalidLimits, AreLoggedAndTheDefaultsServe) {
  for (const char* complaint :
       {"VANTER_MAX_CONNECTIONS is not a whole number from 1 to 1000000: \"many\"; using 2048.",
        "VANTER_HANDSHAKE_TIMEOUT is not a number of seconds above 0 and at most 31536000: \"-1\"; using 60 s.",
        "VANTER_IDLE_TIMEOUT is not a number of seconds above 0 and at most 31536000: \"0\"; using no limit.",
        "VANTER_STEP_LIMIT_S is not a number of seconds above 0 and at most 31536000: \"1e3\"; using no limit."}) {
    EXPECT_TRUE(server_->waitForLines({complaint})) << log();
  }
  EXPECT_TRUE(servesAClient(*server_)) << log();
}

// Regression: INIT zero-filled the whole announced body (up to 64 MiB) before
// a byte of it arrived.
TEST_F(ServedTest, AnnouncedBodyTakesOnlyTheMemoryOfWhatArrived) {
  constexpr int kClients = 2;
  constexpr std::uint64_t kAnnounced = 64 * 1024 * 1024;
  std::optional<std::uint64_t> before = server_->residentBytes();
  ASSERT_TRUE(before.has_value());
  std::vector<std::unique_ptr<GnxpClient>> announcing;
  for (int i = 0; i < kClients; ++i) {
    announcing.push_back(identified());
    ASSERT_TRUE(announcing.back()->sendRaw(initRequest("<gn", kAnnounced)));
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (linesEqualTo(server_->logLines(), "") < kClients && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Each header block has ended: the bodies are being waited for. Memory
  // reserved for them would show within this watch (fresh pages are slow to
  // touch here: 64 MiB takes a good part of it).
  std::uint64_t most = *before;
  for (int sample = 0; sample < 100; ++sample) {
    most = std::max(most, server_->residentBytes().value_or(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_LT(most - *before, kAnnounced / 2) << "bytes resident beyond the start";
  announcing.clear();
  EXPECT_TRUE(servesAClient(*server_)) << log();
}

struct WorkRow {
  const char* name;
  std::string definition;
  int steps;
};

// Names the row in test listings.
void PrintTo(const WorkRow& row, std::ostream* out) { *out << row.name; }

class WorkNobodyWaitsFor : public ServedTest, public testing::WithParamInterface<WorkRow> {};

// Regression: the work went on for ever after the client had gone, holding a
// processor each time.
TEST_P(WorkNobodyWaitsFor, StopsWhenTheClientHasGone) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(GetParam().definition, response)) << client->error();
  ASSERT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(client->sendStep(GetParam().steps));
  client.reset();
  EXPECT_TRUE(server_->waitForLines({kClientGone, kTerminated})) << log();
  EXPECT_TRUE(servesAClient(*server_)) << log();
}

INSTANTIATE_TEST_SUITE_P(Rows, WorkNobodyWaitsFor,
                         testing::Values(WorkRow{"many_steps", kPassThrough, 2000000000},
                                         WorkRow{"endless_while", kEndlessWhile, 1},
                                         WorkRow{"long_for", spinning("(for i 1 2000000000 1 0)"), 1}),
                         [](const testing::TestParamInfo<WorkRow>& row) { return std::string(row.param.name); });

class RequestCpuLimit : public ServedTest {
 protected:
  RequestCpuLimit() { options_ = withEnvironment({{"VANTER_STEP_LIMIT_S", "0.2"}}); }
};

TEST_F(RequestCpuLimit, LongerRequestEndsInARuntimeError) {
  auto client = identified();
  GnxpResponse response;
  ASSERT_TRUE(client->init(kEndlessWhile, response)) << client->error();
  ASSERT_EQ(response.status, "200 Request completed successfully") << log();
  ASSERT_TRUE(client->step(1, response)) << client->error();
  EXPECT_EQ(response.status, "502 Runtime error");
  EXPECT_TRUE(server_->waitForLines({"GNXP/0.1 Proxy: GN Runtime error.", kTerminated})) << log();
  EXPECT_NE(log().find("\t\tGNVCFL runtime error: the request used more than 0.2 s of processor time "
                       "(VANTER_STEP_LIMIT_S).\n"),
            std::string::npos)
      << log();
  EXPECT_TRUE(servesAClient(*server_)) << log();
}

}  // namespace
