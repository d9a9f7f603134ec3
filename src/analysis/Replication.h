// One replication of a net: loaded in this process with its own seed, made
// to take its steps, and measured by a StatisticsSink.
// Thread rule: any thread; each call builds and destroys a net of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StatisticsSink;

// What every replication of a run shares.
struct ReplicationPlan {
  std::string definitionPath;
  int steps = 1;
  int warmup = 0;          // steps 1 .. warmup are not measured
  std::uint64_t seed = 0;  // replication i seeds its net with seed + i
  std::uint64_t firstReplication = 0;
  int replications = 1;
  int jobs = 1;      // threads
  int binWidth = 0;  // steps per occupancy bin; 0: no bins
};

struct ReplicationOutcome {
  bool ok = false;
  std::string failure;         // when not ok: "replication i (seed s): what went wrong"
  std::vector<double> values;  // when ok: in the layout of Statistics.h
};

// Loads, steps and measures replication `index` (its seed is plan.seed + index).
ReplicationOutcome runReplication(const ReplicationPlan& plan, std::uint64_t index, StatisticsSink& sink);

// The names (UTF-8) of the places of the net as replication `index` loads it,
// in the order of the values. False when INIT fails, with the net's log in `log`.
bool loadPlaceNames(const ReplicationPlan& plan, std::uint64_t index, std::vector<std::string>& names,
                    std::string& log);
