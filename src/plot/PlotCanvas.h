// One plot window's picture: its model and an image that keeps everything
// drawn on it, as a window's surface does. New samples draw only their own
// segments; a range change or a resize redraws the whole picture.
// Thread rule: used by one thread at a time (its window's or its writer's).
#pragma once

#include "plot/PlotModel.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <vector>

class CPlotCanvas {
 public:
  // REQUIRES: the bounds of CPlotModel; size at least 1 x 1.
  CPlotCanvas(int seriesCount, int capacity, QSize size);
  CPlotCanvas(const CPlotCanvas&) = delete;
  CPlotCanvas& operator=(const CPlotCanvas&) = delete;

  const CPlotModel& model() const { return model_; }
  const QImage& image() const { return image_; }
  QSize size() const { return image_.size(); }
  // How many full repaints have been made (for callers that track changes).
  int repaints() const { return repaints_; }

  // Fixes the range and repaints.
  void setFixedRange(double minimum, double maximum);
  // A new surface of `size`, fully repainted.
  void resize(QSize size);
  // Adds a sample: draws the segments that end at it, widening the range
  // series by series unless it is fixed, and repaints fully when the range
  // changed. Anything but kDone leaves the picture as it was.
  PlotStatus addSample(std::vector<double> values);
  // Writes the time label.
  void showScalar(double value);
  // Writes the pointer readout for a pointer at `pointer`.
  void pointerMoved(QPoint pointer);
  // Drops the samples (at program exit).
  void releaseSamples() { model_.releaseSamples(); }
  // Redraws everything on the current range and size.
  void repaint();

 private:
  CPlotModel model_;
  QImage image_;
  int repaints_ = 0;
};
