// A plot window's picture, kept in an image and updated the way the window's
// surface is: segments added one sample at a time, full repaints on change.
#include "plot/PlotCanvas.h"

#include "plot/PlotDrawing.h"

#include <QPainter>

#include <utility>

CPlotCanvas::CPlotCanvas(int seriesCount, int capacity, QSize size)
    : model_(seriesCount, capacity), image_(size, QImage::Format_RGB32) {
  repaint();
}

void CPlotCanvas::setFixedRange(double minimum, double maximum) {
  model_.setFixedRange(minimum, maximum);
  repaint();
}

void CPlotCanvas::resize(QSize size) {
  image_ = QImage(size, QImage::Format_RGB32);
  repaint();
}

PlotStatus CPlotCanvas::addSample(std::vector<double> values) {
  PlotStatus status = model_.accept(std::move(values));
  if (status != PlotStatus::kDone) return status;
  const int k = model_.received() - 1;
  if (k == 0) return status;
  bool changed = false;
  {
    QPainter painter(&image_);
    for (int j = 0; j < model_.seriesCount(); ++j) {
      plot::drawSegment(painter, model_, k, j, size());
      changed = model_.widenWith(model_.value(k, j)) || changed;
    }
  }
  if (changed) repaint();
  return status;
}

void CPlotCanvas::showScalar(double value) {
  QPainter painter(&image_);
  plot::drawScalar(painter, size(), value);
}

void CPlotCanvas::pointerMoved(QPoint pointer) {
  QPainter painter(&image_);
  plot::drawReadout(painter, model_, size(), pointer);
}

void CPlotCanvas::repaint() {
  QPainter painter(&image_);
  plot::draw(painter, model_, size());
  ++repaints_;
}
