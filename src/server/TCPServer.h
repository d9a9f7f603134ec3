// TCPServer: listens on the GNXP port, accepts clients one after another and
// gives each its own detached thread, which identifies the client and holds
// the conversation.
// Thread rule: run executes on the calculations thread; connection threads
// share only the log sink with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/NetSession.h"
#include "server/Server.h"

// The port when VANTER_PORT is not set.
constexpr std::uint16_t kDefaultPort = 54321;

// The port to listen on: VANTER_PORT (1 to 65535) when set, else kDefaultPort;
// none when VANTER_PORT is set to anything else.
std::optional<std::uint16_t> listenPort(const char* environmentValue);

class TCPServer final : public Server {
 public:
  // Listens on listenPort(getenv("VANTER_PORT")); nets come from makeNetSession.
  TCPServer();
  // Listens on `port` (none: refuse to start); nets come from `sessions`.
  TCPServer(std::optional<std::uint16_t> port, NetSessionFactory sessions);
  TCPServer(const TCPServer&) = delete;
  TCPServer& operator=(const TCPServer&) = delete;

  // Blocks while serving; returns false when it cannot listen or accepting
  // fails (after its message). Never returns true.
  bool run(CSimpleInterface& log) override;
  void stop() override {}
  // Creates, binds and listens; true on success.
  bool prepareListenSocket();

 private:
  void startConnectionThread(int descriptor, CSimpleInterface& log);

  std::optional<std::uint16_t> port_;
  std::string refusedPortText_;  // the VANTER_PORT text that gave no port
  NetSessionFactory sessions_;
  // Valid from a successful prepareListenSocket until run closes it.
  int listenSocket_ = -1;
};
