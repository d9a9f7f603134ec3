// A user-interface service for tests of the input, output and plot built-ins:
// records every request and answers as the test scripts it. Installed for the
// lifetime of a ServicesScope.
#pragma once

#include "base/UserServices.h"

#include <string>
#include <utility>
#include <vector>

class RecordingServices final : public CUserServices {
 public:
  double askNumber(CSimpleInterface&, std::string_view prompt, double defaultValue) override {
    prompts.emplace_back(prompt);
    defaults.push_back(defaultValue);
    return numberAnswer;
  }
  std::string askText(CSimpleInterface&, std::string_view prompt) override {
    prompts.emplace_back(prompt);
    return textAnswer;
  }
  void showMessage(CSimpleInterface&, std::string_view text) override { messages.emplace_back(text); }
  void openPlot(const PlotWindowRequest& request) override { opened.push_back(request); }
  PlotStatus addSample(int id, std::vector<double> values) override {
    samples.emplace_back(id, std::move(values));
    return sampleStatus;
  }
  PlotStatus showScalar(int id, double value) override {
    scalars.emplace_back(id, value);
    return scalarStatus;
  }

  // Scripted answers.
  double numberAnswer = 0.0;
  std::string textAnswer;
  PlotStatus sampleStatus = PlotStatus::kDone;
  PlotStatus scalarStatus = PlotStatus::kDone;

  // What was asked, in order.
  std::vector<std::string> prompts;
  std::vector<double> defaults;
  std::vector<std::string> messages;
  std::vector<PlotWindowRequest> opened;
  std::vector<std::pair<int, std::vector<double>>> samples;
  std::vector<std::pair<int, double>> scalars;
};

// Installs `services` for one test and restores the fallback afterwards.
class ServicesScope {
 public:
  explicit ServicesScope(CUserServices& services) { installUserServices(&services); }
  ~ServicesScope() { installUserServices(nullptr); }
  ServicesScope(const ServicesScope&) = delete;
  ServicesScope& operator=(const ServicesScope&) = delete;
};
