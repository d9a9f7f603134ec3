// The statistics a replication measures and how its values are laid out:
// three per place, in the net's place order, then one for the whole net.
// Their exact definitions are in docs/output-analysis.md.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Per place: the time-average number of tokens, the tokens arriving per step
// (entrance, movement or merge), the mean steps a token stays.
constexpr std::array<std::string_view, 3> kPlaceStatistics = {"tokens", "throughput", "stay"};
// For the whole net: the mean steps from a token's entrance to its exit.
constexpr std::string_view kNetStatistic = "time_in_net";

// The number of values a replication of a net with `places` places gives.
constexpr std::size_t statisticCount(std::size_t places) { return places * kPlaceStatistics.size() + 1; }

// Calls `visit` for each value of one replication, in order: the statistic's
// name, the place's name (empty for the whole net) and the value (none when
// it is NaN: nothing was measured). REQUIRES: values.size() == statisticCount(places.size()).
void forEachStatistic(
    const std::vector<std::string>& places, const std::vector<double>& values,
    const std::function<void(std::string_view statistic, std::string_view place, std::optional<double> value)>& visit);

// True for a statistic name and place that a replication gives: a place
// statistic with a place, the net statistic without one.
bool isStatistic(std::string_view statistic, std::string_view place);
