// Plot windows without a screen: canvases in memory, written as PNG files.
#include "app/HeadlessServices.h"

#include "app/HeadlessPlotServices.h"
#include "plot/OffscreenApplication.h"

#include <QSaveFile>

#include <utility>

namespace {

// The size of a plot picture, the same as a new window's.
constexpr int kPlotWidth = 387;
constexpr int kPlotHeight = 184;

}  // namespace

CHeadlessServices::CHeadlessServices(std::string folder, std::chrono::milliseconds period)
    : folder_(std::move(folder)), period_(period), writer_([this] { writerLoop(); }) {}

CHeadlessServices::~CHeadlessServices() { finish(); }

void CHeadlessServices::finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (writer_.joinable()) writer_.join();
  writeChangedPlots();
}

std::string CHeadlessServices::fileFor(int id) const {
  std::string name = "plot " + std::to_string(id) + ".png";
  return folder_.empty() ? name : folder_ + "/" + name;
}

void CHeadlessServices::openPlot(const PlotWindowRequest& request) {
  auto canvas = std::make_unique<CPlotCanvas>(request.seriesCount, request.capacity, QSize(kPlotWidth, kPlotHeight));
  if (request.fixedRange) canvas->setFixedRange(request.rangeMinimum, request.rangeMaximum);
  std::lock_guard<std::mutex> lock(mutex_);
  plots_[static_cast<std::size_t>(request.id)] = Plot{std::move(canvas), true};
}

PlotStatus CHeadlessServices::addSample(int id, std::vector<double> values) {
  std::lock_guard<std::mutex> lock(mutex_);
  Plot& plot = plots_[static_cast<std::size_t>(id)];
  if (!plot.canvas) return PlotStatus::kNoWindow;
  PlotStatus status = plot.canvas->addSample(std::move(values));
  plot.changed = plot.changed || status == PlotStatus::kDone;
  return status;
}

PlotStatus CHeadlessServices::showScalar(int id, double value) {
  std::lock_guard<std::mutex> lock(mutex_);
  Plot& plot = plots_[static_cast<std::size_t>(id)];
  if (!plot.canvas) return PlotStatus::kNoWindow;
  plot.canvas->showScalar(value);
  plot.changed = true;
  return PlotStatus::kDone;
}

void CHeadlessServices::writeChangedPlots() {
  std::lock_guard<std::mutex> writing(writing_);
  std::vector<std::pair<int, QImage>> pictures;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int id = 0; id < kPlotWindowIds; ++id) {
      Plot& plot = plots_[static_cast<std::size_t>(id)];
      if (!plot.canvas || !plot.changed) continue;
      pictures.emplace_back(id, plot.canvas->image().copy());
      plot.changed = false;
    }
  }
  for (const auto& [id, picture] : pictures) {
    QSaveFile file(QString::fromStdString(fileFor(id)));
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG")) file.commit();
  }
}

void CHeadlessServices::writerLoop() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    wake_.wait_for(lock, period_, [this] { return stopping_; });
    if (stopping_) break;
    lock.unlock();
    writeChangedPlots();
    lock.lock();
  }
}

namespace {

CHeadlessServices* headlessServices = nullptr;

}  // namespace

void installHeadlessServices() {
  startOffscreenApplication("VanterServerHeadless");
  static CHeadlessServices services;
  headlessServices = &services;
  installUserServices(&services);
}

void writeHeadlessPlots() {
  if (headlessServices != nullptr) headlessServices->finish();
}
