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

std::unique_ptr<ClientToGNProxy> obtainProxy(std::string_view identification, const NetSessionFactory& sessions) {
  if (identification == "GNXP/0.1") return std::make_unique<GNXP01Proxy>(sessions);
  return nullptr;
}

void serveConnection(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log,
                     const NetSessionFactory& sessions) {
  std::optional<std::string> identification = readProtocolIdentification(*connection);
  if (!identification) {
    log.write("TCPServer failed to read protocol identification. Possibly invalid data sent. Ignoring connection.");
    return;
  }
  std::unique_ptr<ClientToGNProxy> proxy = obtainProxy(*identification, sessions);
  if (!proxy) {
    log.write("TCPServer: Unable to obtain appropriate proxy for protocol:");
    log.write(*identification);
    connection->send({"Wrong protocol\r\n"});
    return;
  }
  proxy->attach(std::move(connection), log);
  proxy->run();
}
