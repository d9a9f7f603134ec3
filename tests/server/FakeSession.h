// A NetSession for tests: records what the conversation asks of it, builds or
// refuses the net as told, fails at a chosen step, and answers sendEvents with
// a document that names the steps it was asked for.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "server/ClientToGNProxy.h"
#include "server/NetSession.h"

struct FakeNet {
  bool buildSucceeds = true;
  int failAtStep = 0;  // the step (counted over the session) that ends in a runtime error; 0 never
  std::vector<std::string> calls;
  std::string definitionPath;
  std::string savedDefinition;  // the file's content when initialize was called
  int steps = 0;
  int sessionsMade = 0;
};

class FakeSession final : public NetSession {
 public:
  explicit FakeSession(FakeNet& net) : net_(net) {}
  bool initialize(CSimpleInterface&, std::string_view path, ResponseSink& sink, WorkWatcher*) override {
    net_.calls.push_back("initialize");
    net_.definitionPath = path;
    std::ifstream file{std::string(path), std::ios::binary};
    std::ostringstream content;
    content << file.rdbuf();
    net_.savedDefinition = content.str();
    sink_ = &sink;
    return net_.buildSucceeds;
  }
  void resetEvents() override {
    net_.calls.push_back("reset");
    stepsInDocument_ = 0;
  }
  void step() override {
    net_.calls.push_back("step");
    ++net_.steps;
    ++stepsInDocument_;
  }
  bool runtimeOk() const override { return net_.failAtStep == 0 || net_.steps < net_.failAtStep; }
  void sendEvents() override {
    net_.calls.push_back("send");
    sink_->sendResponse("<events steps=\"" + std::to_string(stepsInDocument_) + "\"/>");
  }

 private:
  FakeNet& net_;
  ResponseSink* sink_ = nullptr;
  int stepsInDocument_ = 0;
};

inline NetSessionFactory fakeSessions(FakeNet& net) {
  return [&net] {
    ++net.sessionsMade;
    return std::make_unique<FakeSession>(net);
  };
}
