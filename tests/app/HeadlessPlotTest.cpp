// End to end: the headless server runs a net that plots and leaves its plot
// as "plot 0.png" in its working folder when it is ended.
#include "ChildProcess.h"

#include "client/GnxpClient.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

using namespace std::chrono_literals;

namespace {

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int countColour(const QImage& image, const QColor& colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return count;
}

}  // namespace

TEST(HeadlessPlot, NetThatPlotsLeavesItsPictureInTheWorkingFolder) {
  const std::string folder = makeTemporaryFolder();
  ASSERT_FALSE(folder.empty());
  const int port = freePort();
  ChildProcess server(VANTER_BIN_DIR "/VanterServerHeadless", {}, folder, {"VANTER_PORT=" + std::to_string(port)});
  std::unique_ptr<GnxpClient> client;
  std::string error;
  for (int attempt = 0; attempt < 200 && !client; ++attempt) {
    client = GnxpClient::connect("127.0.0.1", static_cast<std::uint16_t>(port), error);
    if (!client) std::this_thread::sleep_for(50ms);
  }
  ASSERT_NE(client, nullptr) << error;
  client->setReceiveTimeout(10000);
  ASSERT_TRUE(client->identify());
  GnxpResponse response;
  ASSERT_TRUE(client->init(fileText(VANTER_SOURCE_DIR "/tests/app/data/plotting-net.xml"), response));
  ASSERT_EQ(response.status.substr(0, 3), "200") << response.status << server.standardOutput();
  ASSERT_TRUE(client->step(6, response));
  EXPECT_TRUE(response.hasBody) << response.status << server.standardOutput();
  ASSERT_TRUE(client->sendHalt());
  client.reset();
  server.terminate();

  QImage picture;
  ASSERT_TRUE(picture.load(QString::fromStdString(folder + "/plot 0.png"))) << server.standardOutput();
  EXPECT_EQ(picture.size(), QSize(387, 184));
  EXPECT_EQ(picture.pixelColor(30, 100), QColor(150, 150, 150)) << "the vertical axis";
  EXPECT_GT(countColour(picture, QColor(255, 0, 0)), 20) << "series 0 drawn in red";
  EXPECT_EQ(server.standardOutput().find("RunTime error"), std::string::npos) << server.standardOutput();
  std::filesystem::remove_all(folder);
}
