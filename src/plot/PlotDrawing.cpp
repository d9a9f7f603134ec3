// Drawing of a plot window on any QPainter: the full repaint, one segment,
// the pointer readout and the time label.
#include "plot/PlotDrawing.h"

#include <QFontMetrics>
#include <QPen>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace plot {
namespace {

constexpr std::array<QRgb, kSeriesColours> kColours = {
    qRgb(255, 0, 0),   qRgb(0, 0, 0),       qRgb(0, 255, 0),     qRgb(0, 0, 255),     qRgb(255, 255, 0),
    qRgb(0, 255, 255), qRgb(255, 0, 255),   qRgb(127, 127, 127), qRgb(127, 255, 255), qRgb(127, 0, 0),
    qRgb(0, 127, 0),   qRgb(0, 127, 255),   qRgb(255, 127, 255), qRgb(255, 127, 0)};

// The readout is cleared by writing this many blanks over it.
constexpr int kReadoutBlanks = 43;
// Both texts at the top right start this far left of the right edge.
constexpr int kTopRightOffset = 140;
// Range labels and index labels stand this far above the bottom edge.
constexpr int kLabelRise = 20;
// The horizontal axis carries this many index labels.
constexpr int kIndexLabels = 10;

QString formatted(const char* format, double value) {
  char text[400];
  std::snprintf(text, sizeof text, format, value);
  return QString::fromLatin1(text);
}

QString readoutText(double position, double value) {
  char text[800];
  std::snprintf(text, sizeof text, "(%7.0f,%7.3f)", position, value);
  return QString::fromLatin1(text);
}

void drawFrameAndAxes(QPainter& painter, const CPlotModel& model, QSize size) {
  const int width = size.width();
  const int height = size.height();
  painter.setPen(QPen(framePenColour(), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(0, 0, width - 1, height - 1);
  drawLabel(painter, QPoint(0, height - kLabelRise), formatted("%.3lf", model.minimum()));
  drawLabel(painter, QPoint(0, 0), formatted("%.3lf", model.maximum()));
  painter.setPen(QPen(axisPenColour(), 1));
  painter.drawLine(kAxisMargin, 0, kAxisMargin, height);
  painter.drawLine(0, height - kAxisMargin, width, height - kAxisMargin);
}

void drawIndexLabels(QPainter& painter, const CPlotModel& model, QSize size, int slotWidth) {
  for (int i = 0; i < kIndexLabels; ++i) {
    int index = static_cast<int>(static_cast<double>(i) * model.capacity() / kIndexLabels) * slotWidth;
    int x = static_cast<int>(static_cast<double>(i) * (size.width() - kAxisMargin) / kIndexLabels) + kAxisMargin;
    drawLabel(painter, QPoint(x, size.height() - kLabelRise), QString::number(index));
  }
}

// A bold sans font sized to the label cell: first the pixel size that gives a
// line kTextCellHeight high, then the stretch that gives characters
// kTextAverageWidth wide on average.
QFont fittedTextFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  font.setPixelSize(kTextCellHeight);
  font.setPixelSize(std::max(1, kTextCellHeight * kTextCellHeight / QFontMetrics(font).height()));
  const int width = std::max(1, QFontMetrics(font).averageCharWidth());
  font.setStretch(std::clamp(100 * kTextAverageWidth / width, 1, 4000));
  return font;
}

}  // namespace

QColor seriesColour(int series) { return QColor(kColours[static_cast<std::size_t>(series % kSeriesColours)]); }
QColor framePenColour() { return QColor(90, 90, 255); }
QColor axisPenColour() { return QColor(150, 150, 150); }
QColor textColour() { return QColor(0, 0, 255); }
QColor textBackground() { return QColor(255, 255, 0); }

QFont textFont() {
  static const QFont font = fittedTextFont();
  return font;
}

int sampleX(int k, int capacity, QSize size) {
  return static_cast<int>(static_cast<double>(k) / capacity * (size.width() - kAxisMargin)) + kAxisMargin;
}

std::optional<int> valueY(double value, double minimum, double maximum, QSize size) {
  const double plotHeight = size.height() - kAxisMargin;
  const double span = maximum - minimum;
  const double fraction = span == 0.0 ? 0.5 : (value - minimum) / span;
  const double y = plotHeight - fraction * plotHeight;
  if (!std::isfinite(y)) return std::nullopt;
  return static_cast<int>(std::clamp(y, -double(kFarAway), double(kFarAway)));
}

void drawLabel(QPainter& painter, QPoint topLeft, const QString& text) {
  painter.save();
  painter.setFont(textFont());
  QFontMetrics metrics(painter.font());
  painter.fillRect(QRect(topLeft, QSize(metrics.horizontalAdvance(text), metrics.height())), textBackground());
  painter.setPen(textColour());
  painter.drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), text);
  painter.restore();
}

void draw(QPainter& painter, const CPlotModel& model, QSize size, int slotWidth) {
  painter.save();
  drawFrameAndAxes(painter, model, size);
  drawIndexLabels(painter, model, size, slotWidth);
  for (int k = 1; k < model.received(); ++k) {
    for (int j = 0; j < model.seriesCount(); ++j) drawSegment(painter, model, k, j, size);
  }
  painter.restore();
}

void drawSegment(QPainter& painter, const CPlotModel& model, int k, int series, QSize size) {
  auto from = valueY(model.value(k - 1, series), model.minimum(), model.maximum(), size);
  auto to = valueY(model.value(k, series), model.minimum(), model.maximum(), size);
  if (!from || !to) return;
  painter.save();
  painter.setPen(QPen(seriesColour(series), 1));
  painter.drawLine(sampleX(k - 1, model.capacity(), size), *from, sampleX(k, model.capacity(), size), *to);
  painter.restore();
}

std::optional<QPointF> readoutAt(const CPlotModel& model, QSize size, QPoint pointer) {
  const int plotWidth = size.width() - kAxisMargin;
  const int plotHeight = size.height() - kAxisMargin;
  if (plotWidth <= 0 || plotHeight <= 0) return std::nullopt;
  if (pointer.x() <= kAxisMargin || pointer.y() >= plotHeight) return std::nullopt;
  double position = double(pointer.x() - kAxisMargin) / plotWidth * model.capacity();
  double value = model.minimum() +
                 double(size.height() - pointer.y() - kAxisMargin) / plotHeight * (model.maximum() - model.minimum());
  return QPointF(position, value);
}

void drawReadout(QPainter& painter, const CPlotModel& model, QSize size, QPoint pointer) {
  std::optional<QPointF> readout = readoutAt(model, size, pointer);
  if (!readout) return;
  QPoint at(size.width() - kTopRightOffset, 10);
  drawLabel(painter, at, QString(kReadoutBlanks, QLatin1Char(' ')));
  drawLabel(painter, at, readoutText(readout->x(), readout->y()));
}

void drawScalar(QPainter& painter, QSize size, double value) {
  drawLabel(painter, QPoint(size.width() - kTopRightOffset, 30), formatted("T:%8.3fsec", value));
}

}  // namespace plot
