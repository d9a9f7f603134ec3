// OccupancyBins: exact sums per bin, and their means and intervals.
#include "analysis/OccupancyBins.h"

#include <cmath>

#include "analysis/StudentT.h"

OccupancyBins::OccupancyBins(int places, int steps, int binWidth)
    : places_(places),
      steps_(steps),
      binWidth_(binWidth),
      bins_((steps + binWidth - 1) / binWidth),
      sums_(static_cast<std::size_t>(places) * static_cast<std::size_t>(bins_)),
      squares_(sums_.size()) {}

std::size_t OccupancyBins::at(int place, int bin) const {
  return static_cast<std::size_t>(place) * static_cast<std::size_t>(bins_) + static_cast<std::size_t>(bin);
}

int OccupancyBins::stepsIn(int bin) const {
  const int last = (bin + 1) * binWidth_;
  return (last > steps_ ? steps_ : last) - bin * binWidth_;
}

void OccupancyBins::add(const std::vector<std::int64_t>& binSums) {
  for (std::size_t i = 0; i < sums_.size(); ++i) {
    sums_[i] += binSums[i];
    squares_[i] += static_cast<__int128>(binSums[i]) * binSums[i];
  }
  ++replications_;
}

void OccupancyBins::merge(const OccupancyBins& other) {
  for (std::size_t i = 0; i < sums_.size(); ++i) {
    sums_[i] += other.sums_[i];
    squares_[i] += other.squares_[i];
  }
  replications_ += other.replications_;
}

double OccupancyBins::mean(int place, int bin) const {
  if (replications_ == 0) return 0.0;
  return static_cast<double>(sums_[at(place, bin)]) / replications_ / stepsIn(bin);
}

// n * sum(x^2) - sum(x)^2 is computed exactly; only the last division rounds.
double OccupancyBins::halfWidth(int place, int bin) const {
  const int n = replications_;
  if (n < 2) return 0.0;
  const __int128 sum = sums_[at(place, bin)];
  const __int128 spread = n * squares_[at(place, bin)] - sum * sum;
  const double variance = static_cast<double>(spread) / (static_cast<double>(n) * (n - 1));
  const double deviation = std::sqrt(variance) / stepsIn(bin);
  return studentTQuantile(0.975, n - 1) * deviation / std::sqrt(static_cast<double>(n));
}

double OccupancyBins::overallMean(int place) const {
  if (replications_ == 0) return 0.0;
  std::int64_t total = 0;
  for (int bin = 0; bin < bins_; ++bin) total += sums_[at(place, bin)];
  return static_cast<double>(total) / replications_ / steps_;
}
