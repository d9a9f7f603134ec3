// The plot window's data: which samples it takes and how its range moves.
#include "plot/PlotModel.h"

#include <gtest/gtest.h>


TEST(PlotModel, FirstSampleSetsBothEndsOfTheRangeToItsFirstValue) {
  CPlotModel model(2, 10);
  ASSERT_EQ(model.accept({4.5, -100.0}), PlotStatus::kDone);
  EXPECT_EQ(model.minimum(), 4.5);
  EXPECT_EQ(model.maximum(), 4.5);
  ASSERT_EQ(model.accept({9.0, 1.0}), PlotStatus::kDone);
  EXPECT_EQ(model.maximum(), 4.5) << "only the first sample sets the range; later ones widen it when drawn";
  EXPECT_EQ(model.received(), 2);
}

TEST(PlotModel, RefusesSamplesBeyondTheCapacityAndShortSamples) {
  struct Row {
    const char* label;
    int series;
    int capacity;
    int before;  // samples accepted first
    std::vector<double> sample;
    PlotStatus expected;
  };
  const Row rows[] = {
      {"fits", 2, 3, 0, {1, 2}, PlotStatus::kDone},
      {"longer samples are fine", 2, 3, 0, {1, 2, 3}, PlotStatus::kDone},
      {"one value short", 2, 3, 0, {1}, PlotStatus::kTooFewValues},
      {"empty sample", 1, 3, 0, {}, PlotStatus::kTooFewValues},
      {"last slot", 1, 3, 2, {1}, PlotStatus::kDone},
      {"no slot left", 1, 3, 3, {1}, PlotStatus::kWindowFull},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    CPlotModel model(row.series, row.capacity);
    for (int i = 0; i < row.before; ++i) ASSERT_EQ(model.accept(std::vector<double>(3, 0.0)), PlotStatus::kDone);
    EXPECT_EQ(model.accept(row.sample), row.expected);
    EXPECT_EQ(model.received(), row.before + (row.expected == PlotStatus::kDone ? 1 : 0));
  }
}

