// Replications: every replication of a plan, run on plan.jobs threads. Each
// result is kept by its replication's index, so what the run gives depends
// on the seeds alone, never on the number of threads or their timing.
// Thread rule: call from one thread; it starts and joins the workers itself.
#pragma once

#include <functional>
#include <vector>

#include "analysis/OccupancyBins.h"
#include "analysis/Replication.h"

struct ReplicationsDone {
  std::vector<ReplicationOutcome> outcomes;  // outcomes[i]: replication plan.firstReplication + i
  OccupancyBins occupancy{0, 1, 1};          // of the replications that succeeded; empty without bins
};

// Runs the plan's replications of a net with `placeCount` places; `progress`
// is called on the calling thread with the number done, each time it grows.
ReplicationsDone runReplications(const ReplicationPlan& plan, int placeCount,
                                 const std::function<void(int done)>& progress);
