// The process-wide user-interface services and the unattended answers used
// when no front end has installed its own.
#include "base/UserServices.h"

#include "base/SimpleInterface.h"

#include <atomic>
#include <cassert>
#include <cstdio>
#include <string>

namespace {

std::atomic<CUserServices*> installedServices{nullptr};

CUnattendedServices& unattendedServices() {
  static CUnattendedServices services;
  return services;
}

std::string quoted(std::string_view text) {
  std::string result = "\"";
  result.append(text);
  result += '"';
  return result;
}

}  // namespace

PlotStatus checkSample(int seriesCount, int capacity, int received, std::size_t values) {
  if (received >= capacity) return PlotStatus::kWindowFull;
  if (values < static_cast<std::size_t>(seriesCount)) return PlotStatus::kTooFewValues;
  return PlotStatus::kDone;
}

void installUserServices(CUserServices* services) { installedServices.store(services); }

CUserServices& userServices() {
  CUserServices* services = installedServices.load();
  return services != nullptr ? *services : unattendedServices();
}

double CUnattendedServices::askNumber(CSimpleInterface& log, std::string_view prompt, double defaultValue) {
  char number[64];
  std::snprintf(number, sizeof number, "%g", defaultValue);
  log.write("input: no one to ask " + quoted(prompt) + "; answering the default " + number);
  return defaultValue;
}

std::string CUnattendedServices::askText(CSimpleInterface& log, std::string_view prompt) {
  log.write("input-str: no one to ask " + quoted(prompt) + "; answering the empty text");
  return {};
}

void CUnattendedServices::showMessage(CSimpleInterface& log, std::string_view text) {
  log.write("message: no screen to show it on; its text follows");
  log.write(text);
}

CUnattendedServices::Window& CUnattendedServices::windowAt(int id) {
  assert(id >= 0 && id < kPlotWindowIds);
  return windows_[static_cast<std::size_t>(id)];
}

void CUnattendedServices::openPlot(const PlotWindowRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  windowAt(request.id) = Window{true, request.seriesCount, request.capacity, 0};
}

PlotStatus CUnattendedServices::addSample(int id, std::vector<double> values) {
  std::lock_guard<std::mutex> lock(mutex_);
  Window& window = windowAt(id);
  if (!window.open) return PlotStatus::kNoWindow;
  PlotStatus status = checkSample(window.seriesCount, window.capacity, window.received, values.size());
  if (status == PlotStatus::kDone) ++window.received;
  return status;
}

PlotStatus CUnattendedServices::showScalar(int id, double) {
  std::lock_guard<std::mutex> lock(mutex_);
  return windowAt(id).open ? PlotStatus::kDone : PlotStatus::kNoWindow;
}
