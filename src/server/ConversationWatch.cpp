// ConversationWatch: the peer's state and the thread's processor clock.
#include "server/ConversationWatch.h"

#include <time.h>

#include "server/BufferedConnection.h"
#include "server/ServerLimits.h"

namespace {

constexpr std::string_view kClientGone = "GNVCFL runtime error: the client has closed the connection; work stopped.";

std::chrono::nanoseconds threadProcessorTime() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

ConversationWatch::ConversationWatch(const BufferedConnection& connection,
                                     std::optional<std::chrono::milliseconds> requestCpu)
    : connection_(&connection), requestCpu_(requestCpu) {
  if (requestCpu) {
    overTimeMessage_ = "GNVCFL runtime error: the request used more than " + secondsText(*requestCpu) +
                       " s of processor time (VANTER_STEP_LIMIT_S).";
  }
}

// The processor clock of a thread costs a system call: it is read only under a limit.
void ConversationWatch::startRequest() {
  if (requestCpu_) requestStart_ = threadProcessorTime();
}

std::string_view ConversationWatch::reasonToStop() {
  if (connection_->peerClosed()) {
    clientGone_ = true;
    return kClientGone;
  }
  if (requestCpu_ && threadProcessorTime() - requestStart_ > *requestCpu_) return overTimeMessage_;
  return {};
}
