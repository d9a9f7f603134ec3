// The accept loop when a connection thread cannot be made: the connection is
// closed with the server's message and its place given back, and the next
// client is served. The server runs for the rest of the test process.
#include "FakeSession.h"
#include "RecordingLog.h"
#include "ServerProcess.h"
#include "server/TCPServer.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>

namespace {

// A client that connects (retrying while the server starts), sends `bytes`
// and reads until the server closes; what it read.
std::string converse(std::uint16_t port, const std::string& bytes) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int client = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      std::string received;
      char buffer[256];
      for (long count; (count = recv(client, buffer, sizeof buffer, 0)) > 0;) received.append(buffer, count);
      close(client);
      return received;
    }
    close(client);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ADD_FAILURE() << "no server on port " << port;
  return {};
}

TEST(TCPServer, AThreadThatCannotStartClosesItsConnectionAndTheNextClientIsServed) {
  static std::atomic<int> starts{0};
  ThreadStarter failFirst = [](std::function<void()> work) {
    if (starts++ == 0) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    startDetachedThread(std::move(work));
  };
  static FakeNet net;
  auto* log = new RecordingLog;  // the server thread uses it until the process ends
  const std::uint16_t port = freePort();
  auto* server = new TCPServer(port, fakeSessions(net), ServerLimits{}, failFirst);
  std::thread([server, log] { server->run(*log); }).detach();

  EXPECT_EQ(converse(port, "GNXP/0.1\r\nHALT\r\n"), "");
  EXPECT_TRUE(log->contains("TCPServer: Error creating connection thread...")) << log->text();
  EXPECT_EQ(converse(port, "GNXP/0.1\r\nSTEP\r\n\r\n"), "GNXP/0.1\r\n100 Malformed request\r\n\r\n");
  EXPECT_EQ(starts, 2);
}

}  // namespace
