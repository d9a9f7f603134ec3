// Replications: a pool of workers that take replication indexes in turn, each
// with its own statistics sink and occupancy sums.
#include "analysis/Replications.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "analysis/StatisticsSink.h"

namespace {

// The workers' shared state. The outcome slots are written by one worker each
// (the one that took the index); `done` is guarded by mutex.
struct Pool {
  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable finished;
  int done = 0;
};

void work(const ReplicationPlan& plan, Pool& pool, std::vector<ReplicationOutcome>& outcomes, OccupancyBins& bins) {
  StatisticsSink sink;
  for (int i = pool.next++; i < plan.replications; i = pool.next++) {
    ReplicationOutcome outcome = runReplication(plan, plan.firstReplication + static_cast<std::uint64_t>(i), sink);
    if (outcome.ok && plan.binWidth > 0) bins.add(sink.binSums());
    outcomes[static_cast<std::size_t>(i)] = std::move(outcome);
    {
      std::lock_guard<std::mutex> lock(pool.mutex);
      ++pool.done;
    }
    pool.finished.notify_one();
  }
}

}  // namespace

ReplicationsDone runReplications(const ReplicationPlan& plan, int placeCount,
                                 const std::function<void(int done)>& progress) {
  ReplicationsDone result;
  result.outcomes.resize(static_cast<std::size_t>(plan.replications));
  if (plan.binWidth > 0) result.occupancy = OccupancyBins(placeCount, plan.steps, plan.binWidth);
  const int jobs = std::clamp(plan.jobs, 1, std::max(plan.replications, 1));
  std::vector<OccupancyBins> bins(static_cast<std::size_t>(jobs), result.occupancy);
  Pool pool;
  std::vector<std::jthread> workers;
  for (int j = 0; j < jobs; ++j) {
    workers.emplace_back(work, std::cref(plan), std::ref(pool), std::ref(result.outcomes),
                         std::ref(bins[static_cast<std::size_t>(j)]));
  }
  std::unique_lock<std::mutex> lock(pool.mutex);
  for (int shown = 0; shown < plan.replications;) {
    pool.finished.wait(lock, [&] { return pool.done > shown; });
    shown = pool.done;
    lock.unlock();
    progress(shown);
    lock.lock();
  }
  lock.unlock();
  workers.clear();  // joins
  if (plan.binWidth > 0) {
    for (const OccupancyBins& part : bins) result.occupancy.merge(part);
  }
  return result;
}
