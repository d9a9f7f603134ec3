// A plot window's picture, checked pixel by pixel at the coordinates its
// drawing rules give, on a 387 x 184 canvas: the plot area is x > 30 and
// y < 154, sample slot k of 10 lies at x = trunc(k * 35.7) + 30.
#include "plot/PlotCanvas.h"
#include "plot/PlotDrawing.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <limits>

namespace {

const QSize kSize(387, 184);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

QColor pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// True when `colour` is at (x, y) or a pixel next to it (lines are drawn
// without antialiasing, but rounding of a slope may move them by one).
bool colourNear(const QImage& image, int x, int y, const QColor& colour) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      QPoint at(x + dx, y + dy);
      if (image.rect().contains(at) && image.pixelColor(at) == colour) return true;
    }
  }
  return false;
}

// Label pixels are the yellow background or the blue text on it.
bool isLabel(const QImage& image, int x, int y) {
  QColor colour = image.pixelColor(x, y);
  return colour == plot::textBackground() || colour == plot::textColour();
}

int countColour(const QImage& image, const QColor& colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return count;
}

}  // namespace

TEST(PlotDrawing, LabelTextIsBoldSixteenPixelsHighAndEightWide) {
  const QFont font = plot::textFont();
  const QFontMetrics metrics(font);
  EXPECT_TRUE(font.bold());
  EXPECT_NEAR(metrics.height(), plot::kTextCellHeight, 1);
  EXPECT_NEAR(metrics.averageCharWidth(), plot::kTextAverageWidth, 1);
}

TEST(PlotDrawing, EmptyWindowShowsFrameAxesAndLabels) {
  CPlotCanvas canvas(1, 10, kSize);
  const QImage& image = canvas.image();
  EXPECT_EQ(pixel(image, 0, 100), plot::framePenColour());
  EXPECT_EQ(pixel(image, 386, 100), plot::framePenColour());
  EXPECT_EQ(pixel(image, 200, 183), plot::framePenColour());
  EXPECT_EQ(pixel(image, 30, 100), plot::axisPenColour()) << "vertical axis at x = 30";
  EXPECT_EQ(pixel(image, 30, 5), plot::axisPenColour()) << "the axis is drawn over the maximum's label";
  EXPECT_EQ(pixel(image, 200, 154), plot::axisPenColour()) << "horizontal axis at y = H - 30";
  EXPECT_EQ(pixel(image, 200, 100), kWhite);
  EXPECT_TRUE(isLabel(image, 1, 1)) << "maximum at (0, 0)";
  EXPECT_TRUE(isLabel(image, 1, 165)) << "minimum at (0, H - 20)";
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(isLabel(image, static_cast<int>(i * 357 / 10.0) + 30 + 1, 165)) << "index label " << i;
  }
}

TEST(PlotDrawing, FirstSampleDrawsNothingAndTheSecondDrawsARedSegment) {
  CPlotCanvas canvas(1, 10, kSize);
  canvas.setFixedRange(0.0, 10.0);
  const QImage empty = canvas.image().copy();
  ASSERT_EQ(canvas.addSample({0.0}), PlotStatus::kDone);
  EXPECT_EQ(canvas.image(), empty);
  ASSERT_EQ(canvas.addSample({10.0}), PlotStatus::kDone);
  // From (30, 154) to (65, 0): its middle is near (47, 77).
  EXPECT_TRUE(colourNear(canvas.image(), 47, 77, kRed));
  EXPECT_TRUE(colourNear(canvas.image(), 64, 2, kRed));
  EXPECT_EQ(pixel(canvas.image(), 47, 120), kWhite);
}

TEST(PlotDrawing, SampleOutsideTheRangeWidensItAndRedrawsEverySegment) {
  CPlotCanvas canvas(1, 10, kSize);
  canvas.addSample({0.0});
  canvas.addSample({10.0});
  ASSERT_EQ(canvas.model().maximum(), 10.0);
  // On [0, 10] the first segment runs from (30, 154) to (65, 0).
  ASSERT_TRUE(colourNear(canvas.image(), 47, 77, kRed));
  const int repaints = canvas.repaints();

  canvas.addSample({20.0});
  EXPECT_EQ(canvas.model().maximum(), 20.0);
  EXPECT_EQ(canvas.repaints(), repaints + 1);
  // On [0, 20] the first segment ends at (65, 77) and the second rises to (100, 0).
  EXPECT_FALSE(colourNear(canvas.image(), 47, 77, kRed)) << "the segment on the old scale is gone";
  EXPECT_TRUE(colourNear(canvas.image(), 47, 115, kRed));
  EXPECT_TRUE(colourNear(canvas.image(), 65, 77, kRed));
  EXPECT_TRUE(colourNear(canvas.image(), 99, 2, kRed));
}

TEST(PlotDrawing, EachSeriesHasItsColourAndSeries14TakesSeries0s) {
  CPlotCanvas canvas(15, 10, kSize);
  canvas.setFixedRange(0.0, 14.0);
  std::vector<double> values;
  for (int j = 0; j < 15; ++j) values.push_back(j);
  canvas.addSample(values);
  canvas.addSample(values);
  // Series j is a flat line at y = trunc(154 - j * 11), give or take the rounding of j / 14.
  struct Row {
    int series;
    QColor colour;
  };
  const Row rows[] = {{1, QColor(0, 0, 0)},      {3, QColor(0, 0, 255)},    {6, QColor(255, 0, 255)},
                      {9, QColor(127, 0, 0)},     {13, QColor(255, 127, 0)}, {14, QColor(255, 0, 0)}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.series);
    EXPECT_TRUE(colourNear(canvas.image(), 50, 154 - row.series * 11, row.colour));
  }
}

TEST(PlotDrawing, FixedRangeKeepsOutsideValuesOutOfThePlotAndNeverRepaints) {
  CPlotCanvas canvas(1, 10, kSize);
  canvas.setFixedRange(0.0, 1.0);
  const int repaints = canvas.repaints();
  canvas.addSample({5.0});
  canvas.addSample({6.0});
  EXPECT_EQ(canvas.repaints(), repaints);
  EXPECT_EQ(canvas.model().minimum(), 0.0);
  EXPECT_EQ(canvas.model().maximum(), 1.0);
  EXPECT_EQ(countColour(canvas.image(), kRed), 0) << "both ends lie above the window";
}

// Regression: an empty range divided by zero in the value mapping.
TEST(PlotDrawing, EmptyRangeDrawsAtMidHeight) {
  CPlotCanvas canvas(1, 10, kSize);
  canvas.setFixedRange(5.0, 5.0);
  canvas.addSample({5.0});
  canvas.addSample({5.0});
  EXPECT_EQ(pixel(canvas.image(), 50, 77), kRed);
}

// Regression: values that are not finite or very large overflowed the pixel conversion.
TEST(PlotDrawing, ValuesThatAreNotFiniteOrHugeAreDrawnSafely) {
  const double kInfinity = std::numeric_limits<double>::infinity();
  CPlotCanvas canvas(2, 10, kSize);
  for (double v : {0.0, std::numeric_limits<double>::quiet_NaN(), kInfinity, -kInfinity, 1e308, -1e308})
    EXPECT_EQ(canvas.addSample({v, v}), PlotStatus::kDone);
  EXPECT_EQ(canvas.model().received(), 6);
  EXPECT_EQ(canvas.image().size(), kSize);
  EXPECT_EQ(plot::valueY(1e300, 0.0, 1.0, kSize), -plot::kFarAway);
  EXPECT_FALSE(plot::valueY(std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0, kSize).has_value());
}

TEST(PlotDrawing, GeometryFollowsTheMappingRules) {
  EXPECT_EQ(plot::sampleX(0, 10, kSize), 30);
  EXPECT_EQ(plot::sampleX(1, 10, kSize), 65);
  EXPECT_EQ(plot::sampleX(10, 10, kSize), 387);
  EXPECT_EQ(plot::valueY(0.0, 0.0, 10.0, kSize), 154) << "the minimum lies on the horizontal axis";
  EXPECT_EQ(plot::valueY(10.0, 0.0, 10.0, kSize), 0) << "the maximum at the top edge";
  EXPECT_EQ(plot::valueY(2.5, 0.0, 10.0, kSize), 115) << "trunc(154 - 38.5)";
  EXPECT_EQ(plot::valueY(-3.0, -3.0, -3.0, kSize), 77);
}

TEST(PlotDrawing, ReadoutGivesSlotAndValueUnderThePointer) {
  CPlotModel model(1, 10);
  model.setFixedRange(-1.0, 1.0);
  struct Row {
    const char* label;
    QPoint pointer;
    bool inside;
    double position;
    double value;
  };
  const Row rows[] = {
      {"top edge reads the maximum", QPoint(31, 0), true, 10.0 / 357, 1.0},
      {"just above the axis reads nearly the minimum", QPoint(387, 153), true, 10.0, -1.0 + 2.0 / 154},
      {"on the vertical axis", QPoint(30, 50), false, 0, 0},
      {"on the horizontal axis", QPoint(100, 154), false, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::optional<QPointF> readout = plot::readoutAt(model, kSize, row.pointer);
    ASSERT_EQ(readout.has_value(), row.inside);
    if (!row.inside) continue;
    EXPECT_DOUBLE_EQ(readout->x(), row.position);
    EXPECT_DOUBLE_EQ(readout->y(), row.value);
  }
}

TEST(PlotDrawing, ReadoutAndScalarAreWrittenAtTheTopRight) {
  CPlotCanvas canvas(1, 10, kSize);
  const QImage before = canvas.image().copy();
  canvas.pointerMoved(QPoint(10, 50));
  EXPECT_EQ(canvas.image(), before) << "no readout outside the plot area";
  canvas.pointerMoved(QPoint(200, 50));
  EXPECT_TRUE(isLabel(canvas.image(), 387 - 140 + 1, 11));
  EXPECT_FALSE(isLabel(canvas.image(), 387 - 140 + 1, 31));
  canvas.showScalar(12.5);
  EXPECT_TRUE(isLabel(canvas.image(), 387 - 140 + 1, 31));
}

TEST(PlotDrawing, ResizeRepaintsAtTheNewSize) {
  CPlotCanvas canvas(1, 10, kSize);
  canvas.setFixedRange(0.0, 10.0);
  canvas.addSample({0.0});
  canvas.addSample({10.0});
  canvas.resize(QSize(500, 300));
  EXPECT_EQ(pixel(canvas.image(), 250, 270), plot::axisPenColour());
  // The segment now runs from (30, 270) to (77, 0).
  EXPECT_TRUE(colourNear(canvas.image(), 53, 135, kRed));
}
