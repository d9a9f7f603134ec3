// The real NetSession: a net (CAbstractTransition) and its XMLEventSender.
#include "server/NetSession.h"

#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "server/XMLEventSender.h"

namespace {

class GNNetSession final : public NetSession {
 public:
  // The net goes first: it must never outlive the sender it reports to.
  ~GNNetSession() override {
    net_.reset();
    sender_.reset();
  }

  bool initialize(CSimpleInterface& log, std::string_view definitionPath, ResponseSink& sink,
                  WorkWatcher* watcher) override {
    net_ = std::make_unique<CAbstractTransition>();
    sender_ = std::make_unique<XMLEventSender>(sink, *net_);
    net_->prepare(&log, definitionPath, "", sender_.get());
    net_->watchWork(watcher);
    registerBuiltIns(*net_);
    return net_->initialize();
  }
  void resetEvents() override { sender_->reset(); }
  void step() override { net_->step(); }
  bool runtimeOk() const override { return net_->runtimeOk(); }
  void sendEvents() override { sender_->send(); }

 private:
  std::unique_ptr<CAbstractTransition> net_;
  std::unique_ptr<XMLEventSender> sender_;
};

}  // namespace

std::unique_ptr<NetSession> makeNetSession() { return std::make_unique<GNNetSession>(); }
