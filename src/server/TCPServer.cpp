// TCPServer: listening, accepting, and a detached thread per connection.
#include "server/TCPServer.h"

#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "base/SanitizerBuild.h"
#include "base/SimpleInterface.h"
#include "server/BufferedConnection.h"
#include "server/GnxpRequest.h"
#include "server/ProtocolDispatch.h"
#include "server/SocketConnection.h"

namespace {

// One conversation's place in the count, given back when its thread ends.
class ConversationPlace {
 public:
  explicit ConversationPlace(std::shared_ptr<std::atomic<int>> count) : count_(std::move(count)) { ++*count_; }
  ConversationPlace(ConversationPlace&&) = default;
  ~ConversationPlace() {
    if (count_) --*count_;
  }

 private:
  std::shared_ptr<std::atomic<int>> count_;
};

// An accepted connection with its place, shared by the work handed to the
// thread starter: whoever drops the last copy closes it and gives the place back.
struct Admitted {
  std::unique_ptr<BufferedConnection> connection;
  ConversationPlace place;
};

// Free memory at the top of the heap is handed back to the system only past
// this much.
constexpr int kKeptFreeHeap = 256 * 1024 * 1024;
// A conversation thread's heap is made with this much room to grow, and the
// heap grows by this much more when it must.
constexpr int kHeapRoom = 32 * 1024 * 1024;

// Sets the heap for nets of many megabytes. A halted net's memory stays with
// the process for the next net instead of going back to the system at each
// free: faulting it in again costs a large INIT tens of milliseconds on a
// virtual machine. A new heap starts with room for such a net rather than
// growing a page at a time. Room not yet touched costs no memory, and loading
// still trims what the definition leaves behind, so a loaded net's resident
// size does not grow by either.
void prepareHeapForNets() {
  if constexpr (!kAddressSanitizerBuild) {
    mallopt(M_TRIM_THRESHOLD, kKeptFreeHeap);
    mallopt(M_TOP_PAD, kHeapRoom);
  }
}

}  // namespace

void startDetachedThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }

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
  limits_ = readServerLimits(std::getenv, limitComplaints_);
}

TCPServer::TCPServer(std::optional<std::uint16_t> port, NetSessionFactory sessions, ServerLimits limits,
                     ThreadStarter startThread)
    : port_(port), sessions_(std::move(sessions)), limits_(limits), startThread_(std::move(startThread)) {}

bool TCPServer::prepareListenSocket() {
  if (!port_) return false;
  listenSocket_ = openListeningSocket(*port_);
  return listenSocket_ >= 0;
}

bool TCPServer::run(CSimpleInterface& log) {
  if (!port_) log.write("VANTER_PORT is not a port number (1 to 65535): " + refusedPortText_);
  for (const std::string& complaint : limitComplaints_) log.write(complaint);
  raiseDescriptorLimit();
  prepareHeapForNets();
  if (!prepareListenSocket()) {
    log.write("TCPServer initialization failed on prepareListenSocket...");
    return false;
  }
  log.write("TCPServer running...");
  acceptConnections(log);
  log.write("TCPServer failed to accept a connection...");
  close(listenSocket_);
  listenSocket_ = -1;
  return false;
}

// A failure that may pass is logged once per run of failures; the loop waits
// a little and tries again, so clients already connected are never dropped.
void TCPServer::acceptConnections(CSimpleInterface& log) {
  bool failing = false;
  for (;;) {
    int descriptor = acceptConnection(listenSocket_);
    if (descriptor >= 0) {
      failing = false;
      admit(descriptor, log);
      continue;
    }
    int error = errno;
    if (!acceptMayRecover(error)) return;
    if (!failing) {
      log.write("TCPServer could not accept a connection (" + std::generic_category().message(error) +
                "); trying again.");
    }
    failing = true;
    std::this_thread::sleep_for(kAcceptRetryDelay);
  }
}

// The identification is read on the new thread, so a client that says nothing
// holds up only itself. If the thread cannot start, the failure is logged while
// the connection is still open; then it closes and its place is given back.
void TCPServer::admit(int descriptor, CSimpleInterface& log) {
  std::shared_ptr<Admitted> admitted;
  try {
    auto connection = std::make_unique<BufferedConnection>(std::make_unique<SocketConnection>(descriptor));
    if (*conversations_ >= limits_.maxConnections) {
      log.write("TCPServer: " + std::to_string(limits_.maxConnections) +
                " conversations already (VANTER_MAX_CONNECTIONS). Connection closed.");
      return;
    }
    admitted = std::make_shared<Admitted>(Admitted{std::move(connection), ConversationPlace(conversations_)});
    startThread_([admitted, &log, sessions = sessions_, limits = limits_.conversation] {
      serveConnection(std::move(admitted->connection), log, sessions, limits);
    });
  } catch (...) {
    log.write("TCPServer: Error creating connection thread...");
  }
}
