// The statistics' names and the walk over one replication's values.
#include "analysis/Statistics.h"

#include <algorithm>
#include <cmath>

void forEachStatistic(
    const std::vector<std::string>& places, const std::vector<double>& values,
    const std::function<void(std::string_view statistic, std::string_view place, std::optional<double> value)>& visit) {
  auto present = [](double value) { return std::isnan(value) ? std::nullopt : std::optional<double>(value); };
  std::size_t at = 0;
  for (const std::string& place : places) {
    for (std::string_view statistic : kPlaceStatistics) visit(statistic, place, present(values[at++]));
  }
  visit(kNetStatistic, "", present(values[at]));
}

bool isStatistic(std::string_view statistic, std::string_view place) {
  if (statistic == kNetStatistic) return place.empty();
  return !place.empty() &&
         std::find(kPlaceStatistics.begin(), kPlaceStatistics.end(), statistic) != kPlaceStatistics.end();
}
