// CVisDialog: a plot window on the screen. It shows its CPlotCanvas, keeps it
// the size of the window, and writes the pointer readout as the mouse moves.
// Thread rule: GUI thread only; other threads reach it through CQtUserServices.
#pragma once

#include "plot/PlotCanvas.h"

#include <QWidget>

#include <vector>

class CVisDialog final : public QWidget {
  Q_OBJECT

 public:
  // A window of the first size a plot window has; a top-level window that
  // belongs to `parent` (may be null). REQUIRES: the bounds of CPlotModel.
  CVisDialog(int seriesCount, int capacity, QWidget* parent = nullptr);

  const CPlotCanvas& canvas() const { return canvas_; }
  // What the canvas does, followed by a refresh of the window.
  void setFixedRange(double minimum, double maximum);
  PlotStatus addSample(std::vector<double> values);
  void showScalar(double value);
  // Drops the received samples (at program exit).
  void releaseSamples() { canvas_.releaseSamples(); }

  // The size of a new plot window: 258 by 113 dialog units.
  static QSize initialSize();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  CPlotCanvas canvas_;
};
