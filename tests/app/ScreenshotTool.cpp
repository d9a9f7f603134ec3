// desktop_screenshots FOLDER: runs the desktop program's main dialog with the
// real server offscreen, holds one conversation that plots two series, and
// saves "main-dialog.png" and "plot-window.png" in FOLDER.
#include "app/QtUserServices.h"
#include "app/VanterServerDlg.h"
#include "client/GnxpClient.h"
#include "server/TCPServer.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QElapsedTimer>
#include <QPixmap>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

constexpr int kSteps = 30;

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One conversation: INIT with the two-series net, STEP, HALT. The outcome as one line.
std::string converse(std::uint16_t port) {
  std::string error;
  std::unique_ptr<GnxpClient> client;
  for (int attempt = 0; attempt < 100 && !client; ++attempt) {
    client = GnxpClient::connect("127.0.0.1", port, error);
    if (!client) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!client) return "cannot connect: " + error;
  GnxpResponse response;
  client->identify();
  if (!client->init(fileText(VANTER_SOURCE_DIR "/tests/app/data/two-series-net.xml"), response)) return client->error();
  if (!client->step(kSteps, response)) return client->error();
  client->sendHalt();
  return response.status;
}

// Runs the event loop until `done` holds or 20 seconds pass; whether it held.
template <typename Condition>
bool waitFor(Condition done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: desktop_screenshots FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  const std::uint16_t port = listenPort(std::getenv("VANTER_PORT")).value_or(kDefaultPort);
  CQtUserServices services;
  CVanterServerDlg dialog(services, [port](CSimpleInterface& log) {
    TCPServer server(port, makeNetSession);
    server.run(log);
  });
  dialog.show();
  std::atomic<bool> done{false};
  std::string outcome;
  std::thread client([&] {
    outcome = converse(port);
    done = true;
  });
  bool finished = waitFor([&] { return done.load(); });
  if (finished) client.join();
  if (!finished || services.windowUnder(0) == nullptr) {
    std::fprintf(stderr, "desktop_screenshots: the conversation did not plot (%s)\n", outcome.c_str());
    std::_Exit(1);
  }
  // The conversation's last log line comes after HALT, which has no reply.
  waitFor([&] { return dialog.logView()->toPlainText().endsWith(QStringLiteral("communication terminated...")); });
  bool saved = dialog.grab().save(QString::fromStdString(folder + "/main-dialog.png")) &&
               services.windowUnder(0)->grab().save(QString::fromStdString(folder + "/plot-window.png"));
  std::fflush(stdout);
  std::_Exit(saved ? 0 : 1);
}
