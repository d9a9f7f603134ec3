// TCPServer: listening, accepting, and a detached thread per connection.
#include "server/TCPServer.h"

#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

#include "base/SimpleInterface.h"
#include "server/BufferedConnection.h"
#include "server/GnxpRequest.h"
#include "server/ProtocolDispatch.h"
#include "server/SocketConnection.h"

std::optional<std::uint16_t> listenPort(const char* environmentValue) {
  if (environmentValue == nullptr) return kDefaultPort;
  std::string_view text(environmentValue);
  std::optional<std::int64_t> port = leadingNumber(text);
  bool whole = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  if (!whole || !port || *port < 1 || *port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(*port);
}

TCPServer::TCPServer() : TCPServer(listenPort(std::getenv("VANTER_PORT")), makeNetSession) {
  if (!port_) refusedPortText_ = std::getenv("VANTER_PORT");
}

TCPServer::TCPServer(std::optional<std::uint16_t> port, NetSessionFactory sessions)
    : port_(port), sessions_(std::move(sessions)) {}

bool TCPServer::prepareListenSocket() {
  if (!port_) return false;
  listenSocket_ = openListeningSocket(*port_);
  return listenSocket_ >= 0;
}

bool TCPServer::run(CSimpleInterface& log) {
  if (!port_) log.write("VANTER_PORT is not a port number (1 to 65535): " + refusedPortText_);
  if (!prepareListenSocket()) {
    log.write("TCPServer initialization failed on prepareListenSocket...");
    return false;
  }
  log.write("TCPServer running...");
  for (;;) {
    int descriptor = acceptConnection(listenSocket_);
    if (descriptor < 0) break;
    startConnectionThread(descriptor, log);
  }
  log.write("TCPServer failed to accept a connection...");
  close(listenSocket_);
  listenSocket_ = -1;
  return false;
}

void TCPServer::startConnectionThread(int descriptor, CSimpleInterface& log) {
  auto connection = std::make_unique<BufferedConnection>(std::make_unique<SocketConnection>(descriptor));
  // The identification is read on the new thread, so a client that says
  // nothing holds up only itself. If the thread cannot start, the connection
  // dies with the thread's arguments and is closed.
  try {
    std::thread(serveConnection, std::move(connection), std::ref(log), sessions_).detach();
  } catch (const std::system_error&) {
    log.write("TCPServer: Error creating connection thread...");
  }
}
