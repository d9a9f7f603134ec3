// StatisticsSink: following tokens between places and counting what the
// statistics need, in fixed tables.
#include "analysis/StatisticsSink.h"

#include <limits>

#include "model/NameTable.h"
#include "model/Place.h"
#include "model/TokenEntry.h"

namespace {

double ratio(std::int64_t sum, std::int64_t count) {
  return count == 0 ? std::numeric_limits<double>::quiet_NaN() : static_cast<double>(sum) / static_cast<double>(count);
}

}  // namespace

// A net holds at most as many tokens and places as its name tables.
StatisticsSink::StatisticsSink() : tokens_(NameTable::kTokenCapacity), placeIndexes_(NameTable::kPlaceCapacity) {}

void StatisticsSink::begin(const std::vector<const CPlace*>& places, int warmup, int steps, int binWidth) {
  places_ = places;
  placeIndexes_.clear();
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (int* index = placeIndexes_.insert(places[i])) *index = static_cast<int>(i);
  }
  tallies_.assign(places.size(), PlaceTally{});
  warmup_ = warmup;
  steps_ = steps;
  binWidth_ = binWidth;
  binCount_ = binWidth > 0 ? (steps + binWidth - 1) / binWidth : 0;
  binSums_.assign(places.size() * static_cast<std::size_t>(binCount_), 0);
  followLoadedTokens();
  journeyed_ = 0;
  journeys_ = 0;
  step_ = 0;
  begun_ = true;
}

void StatisticsSink::followLoadedTokens() {
  tokens_.clear();
  for (std::size_t i = 0; i < places_.size(); ++i) {
    for (const CGNObject* entry : places_[i]->tokens()) {
      const CToken* token = static_cast<const CTokenEntry*>(entry)->token();
      if (TokenRecord* record = tokens_.insert(token)) *record = TokenRecord{static_cast<int>(i), 0, 0};
    }
  }
}

void StatisticsSink::beginStep(int step) { step_ = step; }

void StatisticsSink::endStep() {
  const bool counted = measured(step_);
  const std::size_t bin = binWidth_ > 0 ? static_cast<std::size_t>((step_ - 1) / binWidth_) : 0;
  for (std::size_t i = 0; i < places_.size(); ++i) {
    const int tokens = places_[i]->tokens().count();
    if (counted) tallies_[i].tokens += tokens;
    if (binWidth_ > 0) binSums_[i * static_cast<std::size_t>(binCount_) + bin] += tokens;
  }
}

void StatisticsSink::values(std::vector<double>& out) const {
  const auto measuredSteps = static_cast<double>(steps_ - warmup_);
  out.clear();
  for (const PlaceTally& tally : tallies_) {
    out.push_back(static_cast<double>(tally.tokens) / measuredSteps);
    out.push_back(static_cast<double>(tally.arrivals) / measuredSteps);
    out.push_back(ratio(tally.stayed, tally.stays));
  }
  out.push_back(ratio(journeyed_, journeys_));
}

int StatisticsSink::placeIndex(const CPlace& place) {
  if (!begun_) return -1;
  const int* index = placeIndexes_.find(&place);
  return index == nullptr ? -1 : *index;
}

void StatisticsSink::arrive(int index) {
  if (measured(step_)) ++tallies_[static_cast<std::size_t>(index)].arrivals;
}

// A stay counts whole when it ends in a measured step, even if it began in
// the warm-up: the stays ending in a window are a fair sample of all stays,
// while those beginning in it lose the long ones the run's end cuts short.
void StatisticsSink::leave(const TokenRecord& token) {
  if (!measured(step_)) return;
  PlaceTally& tally = tallies_[static_cast<std::size_t>(token.place)];
  tally.stayed += step_ - token.arrived;
  ++tally.stays;
}

void StatisticsSink::entrance(const CToken& token, const CPlace& place) {
  const int index = placeIndex(place);
  if (index < 0) return;
  if (TokenRecord* record = tokens_.insert(&token)) *record = TokenRecord{index, step_, step_};
  arrive(index);
}

// Every token in the net was met at begin or at its entrance; one that was
// not is followed from here on.
void StatisticsSink::movement(const CToken& token, const CPlace& place) {
  const int index = placeIndex(place);
  if (index < 0) return;
  TokenRecord* record = tokens_.find(&token);
  if (record != nullptr) leave(*record);
  if (record == nullptr) record = tokens_.insert(&token);
  if (record != nullptr) {
    record->place = index;
    record->arrived = step_;
  }
  arrive(index);
}

void StatisticsSink::exit(const CToken& token, const CPlace& place) {
  if (placeIndex(place) < 0) return;
  TokenRecord* record = tokens_.find(&token);
  if (record == nullptr) return;
  leave(*record);
  if (measured(step_)) {
    journeyed_ += step_ - record->entered;
    ++journeys_;
  }
  tokens_.erase(&token);
}

// The arriving token is folded into the kept one at once: an arrival whose
// stay is no time at all, so that tokens = throughput x stay still holds.
void StatisticsSink::merge(const CToken& oldToken, const CPlace& place, const CToken&) {
  const int index = placeIndex(place);
  if (index < 0) return;
  if (TokenRecord* record = tokens_.find(&oldToken)) {
    leave(*record);
    tokens_.erase(&oldToken);
  }
  arrive(index);
  if (measured(step_)) ++tallies_[static_cast<std::size_t>(index)].stays;
}
