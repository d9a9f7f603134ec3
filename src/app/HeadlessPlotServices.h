// CHeadlessServices: the user-interface services of the program without a
// screen. Input and messages are answered as CUnattendedServices does; plot
// windows are drawn in memory with the desktop's drawing code and written as
// "plot <id>.png" in the working directory, at most once a second while they
// change and once more at exit.
// Thread rule: any thread; canvases guarded by mutex_; one writer thread of
// its own, stopped and joined by finish() or the destructor.
#pragma once

#include "base/UserServices.h"
#include "plot/PlotCanvas.h"

#include <QImage>

#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CHeadlessServices final : public CUnattendedServices {
 public:
  // Writes into `folder` (the working directory when empty), refreshing
  // changed plots every `period`.
  explicit CHeadlessServices(std::string folder = {},
                             std::chrono::milliseconds period = std::chrono::milliseconds(1000));
  // Calls finish().
  ~CHeadlessServices() override;
  CHeadlessServices(const CHeadlessServices&) = delete;
  CHeadlessServices& operator=(const CHeadlessServices&) = delete;

  void openPlot(const PlotWindowRequest& request) override;
  PlotStatus addSample(int id, std::vector<double> values) override;
  PlotStatus showScalar(int id, double value) override;

  // Writes every plot that changed since it was last written. Each file is
  // replaced whole, so a reader never sees half a picture.
  void writeChangedPlots();
  // Stops the writer thread, then writes every changed plot (at exit).
  void finish();
  // The file a plot under `id` is written to.
  std::string fileFor(int id) const;

 private:
  struct Plot {
    std::unique_ptr<CPlotCanvas> canvas;
    bool changed = false;
  };
  void writerLoop();

  const std::string folder_;
  const std::chrono::milliseconds period_;
  std::mutex writing_;  // held for a whole writeChangedPlots, so writes never overlap
  std::mutex mutex_;
  std::condition_variable wake_;
  std::array<Plot, kPlotWindowIds> plots_;  // guarded by mutex_
  bool stopping_ = false;                   // guarded by mutex_
  std::thread writer_;                      // started last, joined first
};
