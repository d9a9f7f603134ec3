// The occupancy picture: the plot windows' frame, axes, labels and lines, with
// bands, a legend and the warm-up mark drawn over them.
#include "analysis/OccupancyPlot.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QSaveFile>

#include <algorithm>
#include <numeric>

#include "analysis/OccupancyBins.h"
#include "plot/OffscreenApplication.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotModel.h"

namespace {

constexpr QSize kPictureSize(800, 400);
// The bands are the lines' colours, this opaque (of 255).
constexpr int kBandAlpha = 48;
// The legend: its distances from the picture's top and right edges, the
// height of an entry, the length of its colour stroke and the gap to its name.
constexpr int kLegendTop = 6;
constexpr int kLegendRight = 12;
constexpr int kLegendSpacing = 18;
constexpr int kLegendStroke = 24;
constexpr int kLegendGap = 4;

// The busiest places, busiest first (the net's order among equals).
std::vector<int> busiestPlaces(const OccupancyBins& occupancy) {
  std::vector<int> places(static_cast<std::size_t>(occupancy.places()));
  std::iota(places.begin(), places.end(), 0);
  std::stable_sort(places.begin(), places.end(),
                   [&](int a, int b) { return occupancy.overallMean(a) > occupancy.overallMean(b); });
  places.resize(std::min(places.size(), std::size_t{kPlottedPlaces}));
  return places;
}

// The means of the chosen places, one sample per bin, on a range from 0 to
// above the top of the highest band, leaving the legend's rows free.
CPlotModel meansModel(const OccupancyBins& occupancy, const std::vector<int>& chosen) {
  CPlotModel model(static_cast<int>(chosen.size()), occupancy.bins());
  double top = 0.0;
  for (int bin = 0; bin < occupancy.bins(); ++bin) {
    std::vector<double> sample;
    for (int place : chosen) {
      sample.push_back(occupancy.mean(place, bin));
      top = std::max(top, occupancy.mean(place, bin) + occupancy.halfWidth(place, bin));
    }
    model.accept(std::move(sample));
  }
  const double legendShare = static_cast<double>(kLegendTop + kLegendSpacing * static_cast<int>(chosen.size())) /
                             (kPictureSize.height() - plot::kAxisMargin);
  model.setFixedRange(0.0, (top > 0.0 ? top : 1.0) / (1.0 - legendShare));
  return model;
}

void drawBand(QPainter& painter, const CPlotModel& model, const OccupancyBins& occupancy, int place, int series) {
  QPolygon band;
  auto addPoint = [&](int bin, double sign) {
    double value = occupancy.mean(place, bin) + sign * occupancy.halfWidth(place, bin);
    int x = plot::sampleX(bin, model.capacity(), kPictureSize);
    band << QPoint(x, plot::valueY(value, model.minimum(), model.maximum(), kPictureSize).value_or(0));
  };
  for (int bin = 0; bin < occupancy.bins(); ++bin) addPoint(bin, 1.0);
  for (int bin = occupancy.bins() - 1; bin >= 0; --bin) addPoint(bin, -1.0);
  QColor colour = plot::seriesColour(series);
  colour.setAlpha(kBandAlpha);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPolygon(band);
}

void drawWarmupMark(QPainter& painter, const CPlotModel& model, int warmup, int binWidth) {
  if (warmup <= 0) return;
  const int x = plot::sampleX(warmup / binWidth, model.capacity(), kPictureSize);
  painter.setPen(QPen(plot::axisPenColour(), 1, Qt::DashLine));
  painter.drawLine(x, 0, x, kPictureSize.height() - plot::kAxisMargin);
}

void drawLegend(QPainter& painter, const std::vector<int>& chosen, const std::vector<std::string>& places) {
  auto name = [&](std::size_t series) {
    return QString::fromStdString(places[static_cast<std::size_t>(chosen[series])]);
  };
  QFontMetrics metrics(plot::textFont());
  int widest = 0;
  for (std::size_t series = 0; series < chosen.size(); ++series) {
    widest = std::max(widest, metrics.horizontalAdvance(name(series)));
  }
  const int left = kPictureSize.width() - kLegendRight - widest - kLegendStroke - kLegendGap;
  for (std::size_t series = 0; series < chosen.size(); ++series) {
    const int top = kLegendTop + static_cast<int>(series) * kLegendSpacing;
    const int middle = top + metrics.height() / 2;
    painter.setPen(QPen(plot::seriesColour(static_cast<int>(series)), 3));
    painter.drawLine(left, middle, left + kLegendStroke, middle);
    plot::drawLabel(painter, QPoint(left + kLegendStroke + kLegendGap, top), name(series));
  }
}

}  // namespace

int plotBinWidth(int steps) { return (steps + kPlotPoints - 1) / kPlotPoints; }

bool writeOccupancyPlot(const std::string& path, const OccupancyBins& occupancy, const std::vector<std::string>& places,
                        int warmup, std::string& error) {
  if (occupancy.places() == 0 || occupancy.replications() == 0) {
    error = "nothing to draw in " + path + ": " +
            (occupancy.places() == 0 ? "the net has no places" : "no replication ran");
    return false;
  }
  startOffscreenApplication("gnxp");
  const std::vector<int> chosen = busiestPlaces(occupancy);
  const CPlotModel model = meansModel(occupancy, chosen);
  QImage image(kPictureSize, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  plot::draw(painter, model, kPictureSize, occupancy.binWidth());
  for (std::size_t series = 0; series < chosen.size(); ++series) {
    drawBand(painter, model, occupancy, chosen[series], static_cast<int>(series));
    for (int bin = 1; bin < model.received(); ++bin)
      plot::drawSegment(painter, model, bin, static_cast<int>(series), kPictureSize);
  }
  drawWarmupMark(painter, model, warmup, occupancy.binWidth());
  drawLegend(painter, chosen, places);
  painter.end();
  QSaveFile file(QString::fromStdString(path));
  if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) return true;
  error = "cannot write " + path + ": " + file.errorString().toStdString();
  return false;
}
