// VanterServer, the desktop program: the main dialog with its log, and the
// server on the calculations thread. Exit (or closing the window) ends it.
#include "app/ProgramIcon.h"
#include "app/QtUserServices.h"
#include "app/VanterServerDlg.h"
#include "server/TCPServer.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// The calculations thread: one TCPServer, served until it stops.
void serve(CSimpleInterface& log) {
  TCPServer server;
  server.run(log);
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  QApplication application(argc, argv);
  application.setWindowIcon(programIcon());
  CQtUserServices services;
  CVanterServerDlg dialog(services, serve);
  dialog.runUntilExit();
  // The program ends with its threads: connections still open are dropped
  // without a reply, and nothing they hold is torn down under them.
  std::fflush(stdout);
  std::_Exit(EXIT_SUCCESS);
}
