// Plot windows on the desktop: opened and fed through the services (also from
// other threads), grabbed from the screen and checked at the plot's pixel
// coordinates; placement in the screen's quarters; the registry of ids.
#include "AppTestSupport.h"

#include "app/QtUserServices.h"
#include "plot/PlotDrawing.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

const QColor kRed(255, 0, 0);

PlotWindowRequest request(int id, int series, int capacity) { return PlotWindowRequest{id, "plot", series, capacity, false, 0, 0}; }

// The window as it shows on the screen.
QImage onScreen(CVisDialog& window) { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }

bool redNear(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (image.rect().contains(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == kRed) return true;
    }
  }
  return false;
}

}  // namespace

TEST(PlotWindow, ShowsAxesAndARedSegmentAndRedrawsOnAWiderRange) {
  CQtUserServices services;
  services.openPlot(request(0, 1, 10));
  CVisDialog* window = services.windowUnder(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("plot"));
  EXPECT_TRUE(window->isVisible());
  ASSERT_EQ(window->size(), CVisDialog::initialSize());
  services.addSample(0, {0.0});
  services.addSample(0, {10.0});
  QImage image = onScreen(*window);
  EXPECT_EQ(image.pixelColor(30, 100), plot::axisPenColour());
  EXPECT_EQ(image.pixelColor(200, 154), plot::axisPenColour());
  EXPECT_TRUE(redNear(image, 47, 77)) << "segment from (30, 154) to (65, 0)";

  services.addSample(0, {20.0});
  image = onScreen(*window);
  EXPECT_FALSE(redNear(image, 47, 77)) << "after the repaint the old scale is gone";
  EXPECT_TRUE(redNear(image, 65, 77)) << "sample 1 is half way up on [0, 20]";
}

TEST(PlotWindow, SamplesFromAnotherThreadAreDrawnInOrder) {
  CQtUserServices services;
  services.openPlot(request(1, 2, 100));
  std::atomic<bool> done{false};
  std::vector<PlotStatus> statuses;
  std::thread sender([&] {
    for (int k = 0; k < 100; ++k) statuses.push_back(services.addSample(1, {double(k), double(-k)}));
    statuses.push_back(services.addSample(1, {0.0, 0.0}));
    statuses.push_back(services.addSample(7, {0.0}));
    done = true;
  });
  ASSERT_TRUE(waitUntil([&] { return done.load(); }));
  sender.join();
  ASSERT_EQ(statuses.size(), 102u);
  EXPECT_EQ(std::count(statuses.begin(), statuses.begin() + 100, PlotStatus::kDone), 100);
  EXPECT_EQ(statuses[100], PlotStatus::kWindowFull);
  EXPECT_EQ(statuses[101], PlotStatus::kNoWindow);
  const CPlotModel& model = services.windowUnder(1)->canvas().model();
  EXPECT_EQ(model.value(99, 0), 99.0);
  EXPECT_EQ(model.minimum(), -99.0);
  EXPECT_EQ(model.maximum(), 99.0);
}

TEST(PlotWindow, PointerReadoutAndScalarLabelShowAtTheTopRight) {
  CQtUserServices services;
  services.openPlot(request(2, 1, 10));
  CVisDialog* window = services.windowUnder(2);
  auto isLabel = [&](int x, int y) {
    QColor colour = onScreen(*window).pixelColor(x, y);
    return colour == plot::textBackground() || colour == plot::textColour();
  };
  const int left = window->width() - 140;
  EXPECT_FALSE(isLabel(left + 1, 11));
  QTest::mouseMove(window, QPoint(200, 50));
  QMouseEvent move(QEvent::MouseMove, QPointF(200, 50), window->mapToGlobal(QPointF(200, 50)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(window, &move);
  EXPECT_TRUE(isLabel(left + 1, 11));
  EXPECT_EQ(services.showScalar(2, 3.25), PlotStatus::kDone);
  EXPECT_TRUE(isLabel(left + 1, 31));
  EXPECT_EQ(services.showScalar(3, 1.0), PlotStatus::kNoWindow);
}

TEST(PlotWindow, WindowsFillTheQuartersColumnByColumn) {
  const QRect screen(0, 0, 1000, 800);
  const QPoint expected[] = {{0, 0}, {0, 400}, {500, 0}, {500, 400}, {0, 0}, {0, 400}};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(CQtUserServices::placement(k, screen), expected[k]);
  }
  EXPECT_EQ(CQtUserServices::placement(1, QRect(10, 20, 1000, 800)), QPoint(10, 420));
}

TEST(PlotWindow, ReopeningAnIdMovesTheIdAndLeavesTheOldWindowOpen) {
  CQtUserServices services;
  services.openPlot(request(4, 1, 10));
  CVisDialog* older = services.windowUnder(4);
  services.openPlot(request(4, 1, 10));
  CVisDialog* newer = services.windowUnder(4);
  EXPECT_NE(older, newer);
  EXPECT_TRUE(older->isVisible());
  ASSERT_EQ(services.windows().size(), 2u);
  services.addSample(4, {1.0});
  EXPECT_EQ(older->canvas().model().received(), 0);
  EXPECT_EQ(newer->canvas().model().received(), 1);
  for (int k = 0; k < 16; ++k) services.openPlot(request(k % kPlotWindowIds, 1, 10));
  EXPECT_EQ(services.windows().size(), 18u) << "more than 15 windows in a run are kept safely";
}

TEST(PlotWindow, FixedRangeFromTheRequestIsKept) {
  CQtUserServices services;
  services.openPlot(PlotWindowRequest{5, "fixed", 1, 10, true, -1.0, 1.0});
  services.addSample(5, {0.0});
  services.addSample(5, {50.0});
  const CPlotModel& model = services.windowUnder(5)->canvas().model();
  EXPECT_TRUE(model.isFixedRange());
  EXPECT_EQ(model.minimum(), -1.0);
  EXPECT_EQ(model.maximum(), 1.0);
}
