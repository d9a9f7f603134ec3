// ConversationWatch: answers a conversation's net, during long work, whether
// to stop: when the client has gone (nobody waits for the answer) or when the
// request has used more processor time than the limit allows.
// Thread rule: used only by the conversation's thread, whose processor time
// it measures.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "model/WorkPoll.h"

class BufferedConnection;

class ConversationWatch final : public WorkWatcher {
 public:
  // `connection` is borrowed and must outlive the watch; `requestCpu` none: no limit.
  ConversationWatch(const BufferedConnection& connection, std::optional<std::chrono::milliseconds> requestCpu);

  // A request begins: its processor time counts from now.
  void startRequest();
  // True once the watch stopped work because the client had gone.
  bool clientGone() const { return clientGone_; }

  std::string_view reasonToStop() override;

 private:
  const BufferedConnection* connection_;
  std::optional<std::chrono::nanoseconds> requestCpu_;
  std::string overTimeMessage_;
  std::chrono::nanoseconds requestStart_{};
  bool clientGone_ = false;
};
