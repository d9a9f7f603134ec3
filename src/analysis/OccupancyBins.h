// OccupancyBins: the number of tokens in each place against time, over many
// replications: per place and bin of steps, the sums over replications of the
// bin's token count and of its square. The sums are whole numbers, so they do
// not depend on the order in which replications are added.
// Thread rule: one thread at a time; workers fill their own and merge at the end.
#pragma once

#include <cstdint>
#include <vector>

class OccupancyBins {
 public:
  // Bins of `binWidth` steps over steps 1 .. steps (the last may be shorter).
  // REQUIRES: places >= 0, steps >= 1, binWidth >= 1.
  OccupancyBins(int places, int steps, int binWidth);

  int places() const { return places_; }
  int bins() const { return bins_; }
  int binWidth() const { return binWidth_; }
  int replications() const { return replications_; }

  // Adds one replication: per place, per bin, the tokens summed over the bin's steps.
  void add(const std::vector<std::int64_t>& binSums);
  // Adds every replication of `other`, made with the same shape.
  void merge(const OccupancyBins& other);

  // The mean number of tokens in `place` over the steps of `bin`, averaged over replications.
  double mean(int place, int bin) const;
  // The half-width of the 95% confidence interval of that mean; 0 with fewer than two replications.
  double halfWidth(int place, int bin) const;
  // The mean number of tokens in `place` over every step.
  double overallMean(int place) const;

 private:
  std::size_t at(int place, int bin) const;
  int stepsIn(int bin) const;

  int places_;
  int steps_;
  int binWidth_;
  int bins_;
  int replications_ = 0;
  std::vector<std::int64_t> sums_;
  std::vector<__int128> squares_;  // a bin's sum squared can pass 2^63
};
