// Protocol dispatch: identification, the protocol table, one connection's life.
#include "server/ProtocolDispatch.h"

#include "base/SimpleInterface.h"
#include "server/BufferedConnection.h"
#include "server/GNXP01Proxy.h"

std::optional<std::string> readProtocolIdentification(BufferedConnection& connection) {
  std::string line;
  if (!connection.readLine(line)) return std::nullopt;
  return line;
}

std::unique_ptr<ClientToGNProxy> obtainProxy(std::string_view identification, const NetSessionFactory& sessions,
                                             const ConversationLimits& limits) {
  if (identification == "GNXP/0.1") return std::make_unique<GNXP01Proxy>(sessions, limits);
  return nullptr;
}

namespace {

void identifyAndServe(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log,
                      const NetSessionFactory& sessions, const ConversationLimits& limits) {
  connection->limitWaits(Deadline::clock::now() + limits.handshake, limits.idle);
  std::optional<std::string> identification = readProtocolIdentification(*connection);
  if (!identification && connection->timedOut()) {
    log.write("TCPServer: Protocol identification not received in time. Ignoring connection.");
    return;
  }
  if (!identification) {
    log.write("TCPServer failed to read protocol identification. Possibly invalid data sent. Ignoring connection.");
    return;
  }
  std::unique_ptr<ClientToGNProxy> proxy = obtainProxy(*identification, sessions, limits);
  if (!proxy) {
    log.write("TCPServer: Unable to obtain appropriate proxy for protocol:");
    log.write(*identification);
    connection->send({"Wrong protocol\r\n"});
    return;
  }
  proxy->attach(std::move(connection), log);
  proxy->run();
}

}  // namespace

void serveConnection(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log,
                     const NetSessionFactory& sessions, const ConversationLimits& limits) {
  try {
    identifyAndServe(std::move(connection), log, sessions, limits);
  } catch (...) {
    log.write(GNXP01Proxy::kUnhandledException);
  }
}
