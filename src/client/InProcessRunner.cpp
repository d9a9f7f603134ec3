// gnxp's in-process runner: the same net and events document as a server's
// conversation, with the document kept in memory.
#include <cstdlib>
#include <string>

#include "client/NetRunner.h"
#include "server/ClientToGNProxy.h"
#include "server/NetSession.h"

namespace {

class InProcessRunner final : public NetRunner, private ResponseSink {
 public:
  InProcessRunner(const GnxpOptions& options, CSimpleInterface& log) : options_(options), log_(log) {}

  bool load(RunFailure& failure) override {
    std::string unused;
    if (!readDefinition(options_.definitionPath, unused, failure)) return false;
    // The net seeds its generator from VANTER_SEED when it is created.
    if (options_.seed) setenv("VANTER_SEED", std::to_string(*options_.seed).c_str(), 1);
    session_ = makeNetSession();
    if (session_->initialize(log_, options_.definitionPath, *this, nullptr)) return true;
    failure = {1, "INIT refused: 500 GN definition error"};
    return false;
  }

  bool step(int count, const std::function<void()>& stepDone, std::string& document, RunFailure& failure) override {
    session_->resetEvents();
    for (int i = 0; i < count; ++i) {
      session_->step();
      ++stepsMade_;
      if (!session_->runtimeOk()) {
        failure = {1, "runtime error in step " + std::to_string(stepsMade_) + ": 502 Runtime error"};
        return false;
      }
      stepDone();
    }
    session_->sendEvents();
    document.swap(document_);
    return true;
  }

 private:
  bool sendResponse(std::string_view body) override {
    document_.assign(body);
    return true;
  }

  const GnxpOptions& options_;
  CSimpleInterface& log_;
  std::unique_ptr<NetSession> session_;
  std::string document_;
  int stepsMade_ = 0;
};

}  // namespace

std::unique_ptr<NetRunner> makeInProcessRunner(const GnxpOptions& options, CSimpleInterface& log) {
  return std::make_unique<InProcessRunner>(options, log);
}
