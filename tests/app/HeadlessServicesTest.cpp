// Plots without a screen: drawn in memory and written as "plot <id>.png",
// refreshed while they change and written once more when the services end.
#include "AppTestSupport.h"

#include "app/HeadlessPlotServices.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {

bool redNear(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (image.rect().contains(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == QColor(255, 0, 0)) return true;
    }
  }
  return false;
}

}  // namespace

TEST(HeadlessServices, WritesAChangedPlotWithinAPeriod) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  CHeadlessServices services(folder.path().toStdString(), 50ms);
  services.openPlot(PlotWindowRequest{3, "queue", 1, 10, true, 0.0, 10.0});
  EXPECT_EQ(services.addSample(3, {0.0}), PlotStatus::kDone);
  EXPECT_EQ(services.addSample(3, {10.0}), PlotStatus::kDone);
  const QString file = QString::fromStdString(services.fileFor(3));
  EXPECT_TRUE(file.endsWith(QStringLiteral("/plot 3.png")));
  QImage picture;
  ASSERT_TRUE(waitUntil([&] { return picture.load(file) && redNear(picture, 47, 77); }, 3000));
  EXPECT_EQ(picture.size(), QSize(387, 184));
  EXPECT_EQ(services.addSample(4, {1.0}), PlotStatus::kNoWindow);
  EXPECT_EQ(services.addSample(3, {}), PlotStatus::kTooFewValues);
}

TEST(HeadlessServices, WritesEveryPlotAtTheEndEvenBeforeItsFirstRefresh) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  std::string file;
  {
    CHeadlessServices services(folder.path().toStdString(), std::chrono::hours(1));
    services.openPlot(PlotWindowRequest{0, "w", 1, 10, false, 0.0, 0.0});
    services.addSample(0, {1.0});
    services.addSample(0, {2.0});
    file = services.fileFor(0);
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file))) << "not written before its period";
  }
  QImage picture;
  ASSERT_TRUE(picture.load(QString::fromStdString(file)));
  EXPECT_TRUE(redNear(picture, 47, 77)) << "from (30, 154) to (65, 0) on the widened range [1, 2]";
}

