// gnxp's remote runner: the definition and the steps go to a server over GNXP/0.1.
#include "client/GnxpClient.h"
#include "client/NetRunner.h"

namespace {

constexpr const char* kInitDone = "200 Request completed successfully";
constexpr const char* kStepDone = "200 Request completed sucessfully";

class RemoteRunner final : public NetRunner {
 public:
  explicit RemoteRunner(const GnxpOptions& options) : options_(options) {}

  bool load(RunFailure& failure) override {
    std::string definition, error;
    if (!readDefinition(options_.definitionPath, definition, failure)) return false;
    client_ = GnxpClient::connect(*options_.host, options_.port, error);
    if (!client_) return fail(failure, error);
    GnxpResponse response;
    if (!client_->identify() || !client_->init(definition, response)) return fail(failure, client_->error());
    if (response.status != kInitDone) return fail(failure, "INIT refused: " + response.status);
    return true;
  }

  bool step(int count, const std::function<void()>& stepDone, std::string& document, RunFailure& failure) override {
    GnxpResponse response;
    if (!client_->step(count, response)) return fail(failure, client_->error());
    if (response.status != kStepDone || !response.hasBody) return fail(failure, "STEP refused: " + response.status);
    for (int i = 0; i < count; ++i) stepDone();
    document.swap(response.body);
    return true;
  }

  void finish() override {
    if (client_) client_->sendHalt();
  }

 private:
  static bool fail(RunFailure& failure, std::string message) {
    failure = {1, std::move(message)};
    return false;
  }

  const GnxpOptions& options_;
  std::unique_ptr<GnxpClient> client_;
};

}  // namespace

std::unique_ptr<NetRunner> makeRemoteRunner(const GnxpOptions& options) {
  return std::make_unique<RemoteRunner>(options);
}
