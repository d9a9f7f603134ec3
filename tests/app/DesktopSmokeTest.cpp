// The real VanterServer on a real X server (Xvfb): it opens its window,
// serves one GNXP/0.1 conversation, and ends when its window is closed.
#include "ChildProcess.h"
#include "XWindowCloser.h"

#include "client/GnxpClient.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const char* const kXvfb = "/usr/bin/Xvfb";

// Starts Xvfb on a display number of its own choosing; the display name, or "".
std::string startXvfb(std::unique_ptr<ChildProcess>& xvfb, const std::string& folder) {
  int ends[2];
  if (pipe(ends) != 0) return "";
  xvfb = std::make_unique<ChildProcess>(
      kXvfb, std::vector<std::string>{"-displayfd", std::to_string(ends[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
      folder, std::vector<std::string>{}, ends[1]);
  close(ends[1]);
  pollfd ready{ends[0], POLLIN, 0};
  std::string number;
  char c = 0;
  while (poll(&ready, 1, 10000) == 1 && read(ends[0], &c, 1) == 1 && c != '\n') number += c;
  close(ends[0]);
  return number.empty() ? "" : ":" + number;
}

std::unique_ptr<GnxpClient> connectWithin(int port, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::string error;
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto client = GnxpClient::connect("127.0.0.1", static_cast<std::uint16_t>(port), error)) return client;
    std::this_thread::sleep_for(50ms);
  }
  return nullptr;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST(DesktopSmoke, ServesOneConversationAndEndsWhenItsWindowIsClosed) {
  if (access(kXvfb, X_OK) != 0) GTEST_SKIP() << "Xvfb is not installed";
  const std::string folder = makeTemporaryFolder();
  ASSERT_FALSE(folder.empty());
  std::unique_ptr<ChildProcess> xvfb;
  const std::string displayName = startXvfb(xvfb, folder);
  ASSERT_FALSE(displayName.empty()) << "Xvfb did not start";

  const int port = freePort();
  ChildProcess server(VANTER_BIN_DIR "/VanterServer", {}, folder,
                      {"DISPLAY=" + displayName, "QT_QPA_PLATFORM=xcb", "VANTER_PORT=" + std::to_string(port)});
  ASSERT_TRUE(server.started());
  auto client = connectWithin(port, 15s);
  ASSERT_NE(client, nullptr) << server.standardError();
  client->setReceiveTimeout(10000);
  ASSERT_TRUE(client->identify());
  GnxpResponse response;
  ASSERT_TRUE(client->init(fileText(VANTER_SOURCE_DIR "/examples/pass-through.xml"), response)) << client->error();
  EXPECT_EQ(response.status.substr(0, 3), "200") << response.status;
  ASSERT_TRUE(client->step(1, response)) << client->error();
  EXPECT_TRUE(response.hasBody);
  EXPECT_NE(response.body.find("<events"), std::string::npos);
  ASSERT_TRUE(client->sendHalt());
  client.reset();

  ASSERT_TRUE(closeWindowTitled(displayName, "VanterServer", 10s)) << "no window titled VanterServer";
  EXPECT_EQ(server.waitForExit(10s), std::optional<int>(0)) << server.standardError();
  xvfb->terminate();
  std::filesystem::remove_all(folder);
}
