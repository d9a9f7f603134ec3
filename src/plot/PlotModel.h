// The data of one plot window: series count, sample capacity, the samples
// received so far and the value range. No drawing here (see PlotDrawing.h).
// Thread rule: owned and used by one thread at a time (its window's or its writer's).
#pragma once

#include "base/UserServices.h"

#include <vector>

class CPlotModel {
 public:
  // REQUIRES: 1 <= seriesCount <= kMaxPlotSeries, 1 <= capacity <= kMaxPlotCapacity.
  CPlotModel(int seriesCount, int capacity);

  int seriesCount() const { return seriesCount_; }
  int capacity() const { return capacity_; }
  int received() const { return static_cast<int>(samples_.size()); }
  // Sample k (0 <= k < received()); holds at least seriesCount() values.
  const std::vector<double>& sample(int k) const { return samples_[static_cast<std::size_t>(k)]; }
  // Value j of sample k (0 <= j < seriesCount()).
  double value(int k, int j) const { return sample(k)[static_cast<std::size_t>(j)]; }

  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  bool isFixedRange() const { return fixedRange_; }
  // Fixes the range for good: later samples never change it.
  void setFixedRange(double minimum, double maximum);

  // Stores `values` as the next sample when checkSample allows it (the result
  // says why not otherwise). Without a fixed range the first sample's first
  // value becomes both ends of the range.
  PlotStatus accept(std::vector<double> values);
  // Without a fixed range, moves the nearer end of the range out to `value`;
  // true when the range changed. NaN never changes it.
  bool widenWith(double value);
  // Drops every sample (at program exit); the range stays.
  void releaseSamples();

 private:
  int seriesCount_;
  int capacity_;
  std::vector<std::vector<double>> samples_;  // invariant: size() <= capacity_
  double minimum_ = 0.0;
  double maximum_ = 0.0;
  bool fixedRange_ = false;
};
