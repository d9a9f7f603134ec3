// The client library against a scripted server on a loopback socket: the
// bytes it sends and how it reads both kinds of response.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "client/GnxpClient.h"

namespace {

// Accepts one client, reads `expectRead` bytes, then sends the reply pieces
// one by one (so the client sees split reads) and closes.
class ScriptedServer {
 public:
  ScriptedServer(std::size_t expectRead, std::vector<std::string> replies) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
    listen(listener_, 1);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, expectRead, replies] { serve(expectRead, replies); });
  }
  ~ScriptedServer() {
    if (thread_.joinable()) thread_.join();
    close(listener_);
  }
  std::uint16_t port() const { return port_; }
  // What the client sent; waits until the server has replied and closed.
  const std::string& received() {
    if (thread_.joinable()) thread_.join();
    return received_;
  }

 private:
  void serve(std::size_t expectRead, const std::vector<std::string>& replies) {
    int connection = accept(listener_, nullptr, nullptr);
    char chunk[4096];
    while (received_.size() < expectRead) {
      ssize_t n = read(connection, chunk, sizeof chunk);
      if (n <= 0) break;
      received_.append(chunk, static_cast<std::size_t>(n));
    }
    for (const auto& piece : replies) {
      write(connection, piece.data(), piece.size());
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    close(connection);
  }

  int listener_;
  std::uint16_t port_;
  std::string received_;
  std::thread thread_;
};

std::unique_ptr<GnxpClient> connectTo(ScriptedServer& server) {
  std::string error;
  auto client = GnxpClient::connect("127.0.0.1", server.port(), error);
  EXPECT_NE(client, nullptr) << error;
  if (client) client->setReceiveTimeout(5000);
  return client;
}

TEST(GnxpClientTest, InitSendsTheRequestAndReadsAStatusResponse) {
  const std::string request = "GNXP/0.1\r\nINIT\r\nContent-Length: 5\r\nContent-Type: text/xml\r\n\r\n<gn/>";
  ScriptedServer server(request.size(), {"GNXP/0.1\r\n200 Request", " completed successfully\r\n\r", "\n"});
  auto client = connectTo(server);
  GnxpResponse response;
  ASSERT_TRUE(client->identify());
  ASSERT_TRUE(client->init("<gn/>", response)) << client->error();
  EXPECT_EQ(response.status, "200 Request completed successfully");
  EXPECT_FALSE(response.hasBody);
  EXPECT_EQ(server.received(), request);
}

TEST(GnxpClientTest, StepReadsABodyResponseAcrossSplitReads) {
  const std::string body = "<?xml?>\r\n<events/>\n";
  ScriptedServer server(10, {"GNXP/0.1\r\n200 Request completed sucessfully\r\nContent-Le",
                             "ngth: " + std::to_string(body.size()) + "\r\n\r\n" + body.substr(0, 4), body.substr(4)});
  auto client = connectTo(server);
  GnxpResponse response;
  ASSERT_TRUE(client->step(12, response)) << client->error();
  EXPECT_EQ(response.status, "200 Request completed sucessfully");
  EXPECT_TRUE(response.hasBody);
  EXPECT_EQ(response.body, body);
  EXPECT_EQ(server.received(), "STEP 12\r\n\r\n");
}

struct BadRow {
  const char* name;
  std::vector<std::string> replies;
  std::string error;
};

// Names the row in test listings.
void PrintTo(const BadRow& row, std::ostream* out) { *out << row.name; }

class BadResponse : public testing::TestWithParam<BadRow> {};

TEST_P(BadResponse, IsRefusedWithItsReason) {
  ScriptedServer server(0, GetParam().replies);
  auto client = connectTo(server);
  GnxpResponse response;
  EXPECT_FALSE(client->readResponse(response));
  EXPECT_EQ(client->error(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadResponse,
    testing::Values(
        BadRow{"wrong_protocol", {"Wrong protocol\r\n"}, "not a GNXP/0.1 response: Wrong protocol"},
        BadRow{"closed_at_once", {}, "the server closed the connection"},
        BadRow{"closed_in_the_body",
               {"GNXP/0.1\r\nx\r\nContent-Length: 10\r\n\r\nabc"},
               "the server closed the connection"},
        BadRow{"bare_line_feed", {"GNXP/0.1\n"}, "a response line does not end with CR LF: GNXP/0.1"},
        BadRow{"unknown_header", {"GNXP/0.1\r\nx\r\nServer: y\r\n\r\n"}, "unexpected response header: Server: y"},
        BadRow{"length_not_a_number",
               {"GNXP/0.1\r\nx\r\nContent-Length: 1a\r\n\r\n"},
               "unexpected response header: Content-Length: 1a"},
        BadRow{"no_empty_line_after_length",
               {"GNXP/0.1\r\nx\r\nContent-Length: 1\r\nmore\r\n"},
               "no empty line after the response headers"}),
    [](const testing::TestParamInfo<BadRow>& row) { return std::string(row.param.name); });

TEST(GnxpClientTest, ReadUntilClosedTellsAClosedConnectionFromATimeout) {
  ScriptedServer server(0, {"Wrong protocol\r\n"});
  auto client = connectTo(server);
  bool closed = false;
  EXPECT_EQ(client->readUntilClosed(closed), "Wrong protocol\r\n");
  EXPECT_TRUE(closed);
}

TEST(GnxpClientTest, ConnectionRefusedIsAOneLineError) {
  int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  std::uint16_t port = ntohs(address.sin_port);
  close(probe);
  std::string error;
  EXPECT_EQ(GnxpClient::connect("127.0.0.1", port, error), nullptr);
  EXPECT_EQ(error, "cannot connect to 127.0.0.1:" + std::to_string(port) + ": Connection refused");
}

}  // namespace
