// Fuzz target support: the scratch directory and one net's run.
#include "FuzzSupport.h"

#include "model/DefinitionParser.h"
#include "model/WorkPoll.h"
#include "server/ClientToGNProxy.h"
#include "server/NetSession.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// One input's run may take this long; then its work stops as a runtime error,
// so that an endless loop is an ordinary input, not a timeout.
constexpr std::chrono::milliseconds kRunBudget{500};

class RunBudget final : public WorkWatcher {
 public:
  std::string_view reasonToStop() override {
    return std::chrono::steady_clock::now() < deadline_ ? std::string_view() : "the fuzz run's time is up";
  }

 private:
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::now() + kRunBudget;
};

// Events documents go nowhere.
class DiscardingSink final : public ResponseSink {
 public:
  bool sendResponse(std::string_view) override { return true; }
};

}  // namespace

void prepareFuzzProcess() {
  std::string folder = (std::filesystem::temp_directory_path() / "vanter-fuzz-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr || ::chdir(folder.c_str()) != 0 || !initializeXerces()) {
    std::perror("fuzz set-up");
    std::exit(1);
  }
}

void runDefinition(std::string_view definition, int steps) {
  const char* path = "definition.xml";
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(definition.data(),
                                                                static_cast<std::streamsize>(definition.size()));
  SilentLog log;
  DiscardingSink sink;
  RunBudget budget;
  std::unique_ptr<NetSession> session = makeNetSession();
  if (!session->initialize(log, path, sink, &budget)) return;
  session->resetEvents();
  for (int step = 0; step < steps && session->runtimeOk(); ++step) session->step();
  session->sendEvents();
}
