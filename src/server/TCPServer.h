// TCPServer: listens on the GNXP port, accepts clients one after another and
// gives each its own detached thread, which identifies the client and holds
// the conversation. It never gives up on a failed accept that can pass (out
// of descriptors or memory), and it holds at most maxConnections
// conversations at once.
// Thread rule: run executes on the calculations thread; connection threads
// share only the log sink and the count of conversations with it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/NetSession.h"
#include "server/Server.h"
#include "server/ServerLimits.h"

// The port when VANTER_PORT is not set.
constexpr std::uint16_t kDefaultPort = 54321;

// Runs `work` on a thread of its own; throws (std::system_error) when no
// thread can be made. startDetachedThread is the real one; tests fail on purpose.
using ThreadStarter = std::function<void(std::function<void()> work)>;
void startDetachedThread(std::function<void()> work);

// The port to listen on: VANTER_PORT (1 to 65535) when set, else kDefaultPort;
// none when VANTER_PORT is set to anything else.
std::optional<std::uint16_t> listenPort(const char* environmentValue);

class TCPServer final : public Server {
 public:
  // How long the accept loop waits before it tries again after a failure that may pass.
  static constexpr std::chrono::milliseconds kAcceptRetryDelay{100};

  // Listens on listenPort(getenv("VANTER_PORT")) under the limits the
  // environment sets (readServerLimits); nets come from makeNetSession.
  TCPServer();
  // Listens on `port` (none: refuse to start); nets come from `sessions`,
  // connection threads from `startThread`.
  TCPServer(std::optional<std::uint16_t> port, NetSessionFactory sessions, ServerLimits limits = {},
            ThreadStarter startThread = startDetachedThread);
  TCPServer(const TCPServer&) = delete;
  TCPServer& operator=(const TCPServer&) = delete;

  // Blocks while serving; returns false when it cannot listen or the
  // listening socket becomes unusable (after its message). Never returns true.
  bool run(CSimpleInterface& log) override;
  void stop() override {}
  // Creates, binds and listens; true on success.
  bool prepareListenSocket();

 private:
  // Accepts until the listening socket is unusable.
  void acceptConnections(CSimpleInterface& log);
  // Serves the accepted `descriptor` on a thread of its own, or closes it
  // when the server already holds maxConnections conversations.
  void admit(int descriptor, CSimpleInterface& log);

  std::optional<std::uint16_t> port_;
  std::string refusedPortText_;  // the VANTER_PORT text that gave no port
  std::vector<std::string> limitComplaints_;  // logged when run starts
  NetSessionFactory sessions_;
  ServerLimits limits_;
  ThreadStarter startThread_;
  // Conversations being held; shared with their threads, which may outlive the server.
  std::shared_ptr<std::atomic<int>> conversations_ = std::make_shared<std::atomic<int>>(0);
  // Valid from a successful prepareListenSocket until run closes it.
  int listenSocket_ = -1;
};
