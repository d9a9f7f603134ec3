// How a plot window looks: its colours, pens, font and geometry, and the one
// set of drawing routines that the desktop window and the headless PNG writer
// share. The plot area lies right of x = 30 and above y = H - 30.
// Thread rule: pure functions of their arguments; any thread may draw on its own QImage.
#pragma once

#include "plot/PlotModel.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>

#include <optional>

namespace plot {

// Width of the band left of the vertical axis and below the horizontal one.
constexpr int kAxisMargin = 30;
// Series take the colours of this many slots in turn.
constexpr int kSeriesColours = 14;
// Label text: a line this many pixels high, characters this wide on average.
constexpr int kTextCellHeight = 16;
constexpr int kTextAverageWidth = 8;

// Colour of series j (j modulo kSeriesColours).
QColor seriesColour(int series);
QColor framePenColour();
QColor axisPenColour();
QColor textColour();
QColor textBackground();
// The bold sans label font (Liberation Sans, DejaVu Sans where it is missing),
// sized to kTextCellHeight and kTextAverageWidth. Made on first use, which
// needs a QGuiApplication.
QFont textFont();

// x of sample slot k: trunc(k / capacity * (W - 30)) + 30.
int sampleX(int k, int capacity, QSize size);
// y of value v: trunc((H - 30) - (v - minimum) / (maximum - minimum) * (H - 30)).
// An empty range (minimum == maximum) puts every value at mid-height; a result
// that is not finite is empty, and far-away results are held to +-kFarAway.
std::optional<int> valueY(double value, double minimum, double maximum, QSize size);
constexpr int kFarAway = 1 << 20;

// Writes `text` in blue on yellow with its top-left corner at `topLeft`.
void drawLabel(QPainter& painter, QPoint topLeft, const QString& text);

// The full repaint: frame and background, range labels, axes, index labels
// and every segment on the model's current range. Each sample slot stands for
// `slotWidth` units of the index labels (a window's slots are one each).
void draw(QPainter& painter, const CPlotModel& model, QSize size, int slotWidth = 1);
// The segment of series j that ends at sample k (1 <= k < received()).
void drawSegment(QPainter& painter, const CPlotModel& model, int k, int series, QSize size);
// The sample position and value under a pointer at `pointer`: x is
// (px - 30) / (W - 30) * capacity, y is minimum + (H - py - 30) / (H - 30) *
// (maximum - minimum); none outside the plot area (px <= 30 or py >= H - 30).
std::optional<QPointF> readoutAt(const CPlotModel& model, QSize size, QPoint pointer);
// The pointer readout "(%7.0f,%7.3f)" at (W - 140, 10), after clearing the
// old one; nothing when the pointer is outside the plot area.
void drawReadout(QPainter& painter, const CPlotModel& model, QSize size, QPoint pointer);
// The time label "T:%8.3fsec" at (W - 140, 30).
void drawScalar(QPainter& painter, QSize size, double value);

}  // namespace plot
