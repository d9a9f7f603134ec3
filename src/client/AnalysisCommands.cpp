// gnxp stats and gnxp summarize. The table of a run is made from its rows
// exactly as summarize makes it from shard files, so the two always agree.
#include "client/AnalysisCommands.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <thread>

#include "analysis/OccupancyPlot.h"
#include "analysis/Replications.h"
#include "analysis/ShardFile.h"
#include "analysis/Summary.h"
#include "client/NetRunner.h"
#include "client/Progress.h"

namespace {

constexpr const char* kInitRefused = "INIT refused: 500 GN definition error";

int failWith(std::FILE* errors, int status, const std::string& message) {
  std::fprintf(errors, "gnxp: %s\n", message.c_str());
  return status;
}

// The seed given, or one drawn and said, so that the run can be repeated.
std::uint64_t baseSeed(const GnxpOptions& options, std::FILE* errors) {
  if (options.seed) return *options.seed;
  std::random_device device;
  const std::uint64_t seed = (std::uint64_t{device()} << 32) | device();
  std::fprintf(errors, "gnxp: seed %llu (drawn; --seed %llu repeats this run)\n", static_cast<unsigned long long>(seed),
               static_cast<unsigned long long>(seed));
  return seed;
}

ReplicationPlan planOf(const GnxpOptions& options, std::uint64_t seed) {
  ReplicationPlan plan;
  plan.definitionPath = options.definitionPath;
  plan.steps = options.steps;
  plan.warmup = options.warmup;
  plan.seed = seed;
  plan.firstReplication = options.firstReplication;
  plan.replications = options.replications;
  plan.jobs = options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  plan.binWidth = options.plotPath.empty() ? 0 : plotBinWidth(options.steps);
  return plan;
}

bool writeFile(const std::string& path, const std::string& text, std::FILE* errors) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  if (file) return true;
  failWith(errors, 1, "cannot write " + path + ": " + std::strerror(errno));
  return false;
}

// Nothing when no replication measured anything (its failure was said).
void printTable(const Summary& summary, std::FILE* out, std::FILE* errors) {
  if (summary.replications() == 0) return;
  if (summary.replications() == 1) {
    std::fputs("gnxp: one replication gives no confidence interval: the means only\n", errors);
  }
  const std::string table = formatTable(summary.lines());
  std::fwrite(table.data(), 1, table.size(), out);
  std::fflush(out);
}

}  // namespace

int runStats(const GnxpOptions& options, std::FILE* out, std::FILE* errors) {
  RunFailure failure;
  std::string definition, log;
  if (!readDefinition(options.definitionPath, definition, failure)) {
    return failWith(errors, failure.status, failure.message);
  }
  const ReplicationPlan plan = planOf(options, baseSeed(options, errors));
  std::vector<std::string> places;
  if (!loadPlaceNames(plan, plan.firstReplication, places, log)) {
    std::fputs(log.c_str(), errors);
    return failWith(errors, 1, kInitRefused);
  }
  ReplicationsDone done;
  {
    Progress progress(errors, plan.replications, "replication");
    done = runReplications(plan, static_cast<int>(places.size()), [&](int count) { progress.show(count); });
  }
  std::vector<std::string> failures;
  const std::string rows = shardText(plan, places, done, failures);
  for (const std::string& failed : failures) failWith(errors, 1, failed);
  bool ok = failures.empty();
  if (!options.csvPath.empty()) ok = writeFile(options.csvPath, rows, errors) && ok;
  // The rows are read back as summarize reads them; they always read back.
  Summary summary;
  int line = 0;
  std::string error;
  addShardText(rows, summary, line, error);
  printTable(summary, out, errors);
  if (!options.plotPath.empty() && !writeOccupancyPlot(options.plotPath, done.occupancy, places, plan.warmup, error)) {
    failWith(errors, 1, error);
    ok = false;
  }
  return ok ? 0 : 1;
}

int runSummarize(const GnxpOptions& options, std::FILE* out, std::FILE* errors) {
  Summary summary;
  for (const std::string& path : options.shardPaths) {
    RunFailure failure;
    std::string text;
    if (!readDefinition(path, text, failure)) return failWith(errors, failure.status, failure.message);
    int line = 0;
    std::string error;
    if (!addShardText(text, summary, line, error)) {
      return failWith(errors, 2, path + ":" + std::to_string(line) + ": " + error);
    }
  }
  // Shards whose every replication failed hold only their header.
  if (summary.replications() == 0) {
    return failWith(errors, 1, "no replication's rows in the files: nothing to summarise");
  }
  printTable(summary, out, errors);
  return 0;
}
