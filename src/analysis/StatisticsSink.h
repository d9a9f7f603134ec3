// StatisticsSink: the event sink of a replication. It follows every token
// from place to place and counts, per place, the tokens at the end of each
// measured step, the arrivals in those steps and the stays that end in them,
// and for the whole net the journeys from entrance to exit that end in them. After begin, no event or step
// allocates: the records live in fixed tables reused replication after
// replication.
// Thread rule: used by the thread that steps its net; one sink per thread.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/PointerSlots.h"
#include "model/EventManager.h"

class CPlace;

class StatisticsSink final : public EventManager {
 public:
  StatisticsSink();
  StatisticsSink(const StatisticsSink&) = delete;
  StatisticsSink& operator=(const StatisticsSink&) = delete;

  // Starts a replication of a net with `places` (borrowed, in the net's
  // order) that measures steps warmup + 1 .. steps. Tokens already in the
  // places (made while the net loaded) arrived and entered at step 0. With a bin width, the
  // tokens of each place are also summed per bin of that many steps.
  // REQUIRES: 0 <= warmup < steps; binWidth >= 0.
  void begin(const std::vector<const CPlace*>& places, int warmup, int steps, int binWidth);
  // Events are not counted until the next begin: called before a net loads.
  void stop() { begun_ = false; }
  // The events that follow belong to step `step` (the first step is 1).
  void beginStep(int step);
  // Counts each place's tokens at the end of the current step.
  void endStep();

  // The replication's values in the layout of Statistics.h; NaN for a stay
  // or journey that no token completed in the measured steps.
  void values(std::vector<double>& out) const;
  // Per place, per bin: the sum over the bin's steps of the place's tokens.
  const std::vector<std::int64_t>& binSums() const { return binSums_; }

  bool probe(std::uintptr_t) override { return true; }
  void movement(const CToken& token, const CPlace& place) override;
  void entrance(const CToken& token, const CPlace& place) override;
  void exit(const CToken& token, const CPlace& place) override;
  void merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) override;

 private:
  // Where a token is: its place's index and the steps it arrived there and
  // entered the net; 0 for a token that was in a place when the net had loaded.
  struct TokenRecord {
    int place = 0;
    int arrived = 0;
    int entered = 0;
  };
  struct PlaceTally {
    std::int64_t tokens = 0;    // summed over the measured steps' ends
    std::int64_t arrivals = 0;  // in the measured steps
    std::int64_t stayed = 0;    // steps of the completed stays
    std::int64_t stays = 0;     // completed stays
  };

  bool measured(int step) const { return step > warmup_; }
  // Forgets every token, then follows those in the places, arrived at step 0.
  void followLoadedTokens();
  // The place's index; -1 for a place the net did not list, or when stopped.
  int placeIndex(const CPlace& place);
  // Counts an arrival in place `index` now.
  void arrive(int index);
  // Ends the stay of `token` in its place now.
  void leave(const TokenRecord& token);

  PointerSlots<TokenRecord> tokens_;
  PointerSlots<int> placeIndexes_;
  std::vector<const CPlace*> places_;
  std::vector<PlaceTally> tallies_;
  std::vector<std::int64_t> binSums_;
  std::int64_t journeyed_ = 0;  // steps of the completed journeys
  std::int64_t journeys_ = 0;
  int warmup_ = 0;
  int steps_ = 1;
  int binWidth_ = 0;
  int binCount_ = 0;
  int step_ = 0;
  bool begun_ = false;
};
