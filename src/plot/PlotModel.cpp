// The plot window's data: samples in arrival order and the value range.
#include "plot/PlotModel.h"

#include <cassert>
#include <utility>

CPlotModel::CPlotModel(int seriesCount, int capacity) : seriesCount_(seriesCount), capacity_(capacity) {
  assert(seriesCount >= 1 && seriesCount <= kMaxPlotSeries);
  assert(capacity >= 1 && capacity <= kMaxPlotCapacity);
}

void CPlotModel::setFixedRange(double minimum, double maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  fixedRange_ = true;
}

PlotStatus CPlotModel::accept(std::vector<double> values) {
  PlotStatus status = checkSample(seriesCount_, capacity_, received(), values.size());
  if (status != PlotStatus::kDone) return status;
  if (!fixedRange_ && samples_.empty()) minimum_ = maximum_ = values.front();
  samples_.push_back(std::move(values));
  return status;
}

bool CPlotModel::widenWith(double value) {
  if (fixedRange_) return false;
  if (value < minimum_) {
    minimum_ = value;
    return true;
  }
  if (value > maximum_) {
    maximum_ = value;
    return true;
  }
  return false;
}

void CPlotModel::releaseSamples() {
  samples_.clear();
  samples_.shrink_to_fit();
}
