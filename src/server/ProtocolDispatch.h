// Protocol dispatch: the identification line a client sends first, the table
// that maps it to a protocol handler, and the life of one connection.
// Thread rule: each function runs on the connection's own thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "server/ClientToGNProxy.h"
#include "server/NetSession.h"
#include "server/ServerLimits.h"

class BufferedConnection;
class CSimpleInterface;

// The identification line, or none when the stream ended or failed before a
// carriage return or no carriage return came within the line limit.
std::optional<std::string> readProtocolIdentification(BufferedConnection& connection);

// A new, unattached handler for the identification, or null when no protocol
// matches. The one entry: exactly "GNXP/0.1" selects GNXP01Proxy, whose nets
// come from `sessions` and whose conversation is held to `limits`.
std::unique_ptr<ClientToGNProxy> obtainProxy(std::string_view identification, const NetSessionFactory& sessions,
                                             const ConversationLimits& limits = {});

// Identifies the client, then holds its conversation to the end, or refuses
// it ("Wrong protocol\r\n" for an unknown protocol). The identification and
// the first request line must arrive within limits.handshake of the call.
// The connection is closed before this returns, and no exception escapes it.
// `log` is borrowed for the duration.
void serveConnection(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log,
                     const NetSessionFactory& sessions, const ConversationLimits& limits = {});
