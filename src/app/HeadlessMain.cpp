// VanterServerHeadless: the server without a screen. Starts the XML library,
// runs TCPServer on the calculations thread and writes the log to standard
// output; SIGINT or SIGTERM end it (status 0), a server that cannot listen or
// stops accepting ends it with status 1.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "base/BatchedConsoleLog.h"
#include "app/HeadlessServices.h"
#include "model/DefinitionParser.h"
#include "server/TCPServer.h"

namespace {

// Sent by the calculations thread to the process when the server has stopped.
constexpr int kServerEnded = SIGUSR1;

// The signals the main thread waits for; blocked in every thread so that only
// the main thread's sigwait receives them.
sigset_t awaitedSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, kServerEnded);
  return signals;
}

// Process-wide services that every net may use. The user-interface services
// of the built-ins (input, message boxes, plot windows) are installed here,
// before the server starts taking clients.
void startProcessServices() {
  initializeXerces();
  installHeadlessServices();
}

// The calculations thread: serves until the server stops, then says so.
void calculations(CSimpleInterface& log) {
  TCPServer server;
  server.run(log);
  kill(getpid(), kServerEnded);
}

// Stops the XML library and ends the process at once: connection threads
// still running are dropped with their connections, as at Exit; every
// message written before is in the log first.
[[noreturn]] void endProcess(BatchedConsoleLog& log, int status) {
  writeHeadlessPlots();
  terminateXerces();
  log.flush();
  std::fflush(stdout);
  std::_Exit(status);
}

}  // namespace

int main() {
  sigset_t signals = awaitedSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  BatchedConsoleLog log(stdout);
  startProcessServices();
  std::thread(calculations, std::ref(log)).detach();
  int received = 0;
  sigwait(&signals, &received);
  endProcess(log, received == kServerEnded ? EXIT_FAILURE : EXIT_SUCCESS);
}
