// Summary: the table of a run: per statistic and place, the mean over
// replications, the standard deviation and the half-width of the 95%
// confidence interval (Student's t with n - 1 degrees of freedom). Values are
// taken in the order of their replications' indexes, whatever order they were
// added in, so that shards summarised together give exactly the numbers of
// one run that made them all.
// Thread rule: one thread at a time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SummaryLine {
  std::string statistic;
  std::string place;       // empty for the whole net
  int count = 0;           // replications that measured it
  double mean = 0.0;       // NaN when count is 0
  double deviation = 0.0;  // NaN when count < 2
  double halfWidth = 0.0;  // NaN when count < 2
};

class Summary {
 public:
  // Adds replication `replication`'s value of a statistic (none: it measured
  // nothing). Lines come in the order their statistic and place were first
  // added. False when this replication's value of it was added before.
  bool add(std::string_view statistic, std::string_view place, std::uint64_t replication, std::optional<double> value);
  // True when replication `replication`, seeded `seed`, belongs to the run
  // of the replications added so far: its seeds are S + replication for one
  // S, which the first call fixes.
  bool sameRun(std::uint64_t replication, std::uint64_t seed);
  // The run's S; none before the first sameRun.
  std::optional<std::uint64_t> runSeed() const { return runSeed_; }

  // The number of distinct replications added.
  std::size_t replications() const;
  std::vector<SummaryLine> lines() const;

 private:
  struct Column {
    std::string statistic;
    std::string place;
    std::map<std::uint64_t, std::optional<double>> values;  // by replication
  };
  std::vector<Column> columns_;
  std::map<std::pair<std::string, std::string>, std::size_t> columnIndex_;
  std::optional<std::uint64_t> runSeed_;
};

// The table as text: a header line, then one line per summary line, columns
// aligned; "-" stands for a number that cannot be given.
std::string formatTable(const std::vector<SummaryLine>& lines);
