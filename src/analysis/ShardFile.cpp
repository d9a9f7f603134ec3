// Shard files: writing the rows of replications and reading them back.
#include "analysis/ShardFile.h"

#include <array>
#include <charconv>

#include "analysis/CsvReader.h"
#include "analysis/Replications.h"
#include "analysis/Statistics.h"
#include "analysis/Summary.h"
#include "analysis/TextFields.h"

namespace {

constexpr std::array<std::string_view, 5> kColumns = {"replication", "seed", "statistic", "place", "value"};
// Rows end as RFC 4180 says.
constexpr std::string_view kLineEnd = "\r\n";

bool parseCount(const std::string& text, std::uint64_t& value) {
  auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && status == std::errc() && end == text.data() + text.size();
}

// The fault of one data row, or empty; its replication, seed and value when none.
std::string rowFault(const std::vector<std::string>& fields, std::uint64_t& replication, std::uint64_t& seed,
                     std::optional<double>& value) {
  if (fields.size() != kColumns.size()) {
    return "expected " + std::to_string(kColumns.size()) + " fields, found " + std::to_string(fields.size());
  }
  if (!parseCount(fields[0], replication)) return "replication '" + fields[0] + "' is not a whole number";
  if (!parseCount(fields[1], seed)) return "seed '" + fields[1] + "' is not a whole number";
  if (!isStatistic(fields[2], fields[3])) return "no statistic '" + fields[2] + "' for place '" + fields[3] + "'";
  value = parseNumber(fields[4]);
  if (!value && !fields[4].empty()) return "value '" + fields[4] + "' is not a number";
  return {};
}

std::string headerText() {
  std::string header;
  for (std::string_view column : kColumns) header += std::string(header.empty() ? "" : ",") + std::string(column);
  return header;
}

}  // namespace

void appendShardHeader(std::string& out) {
  out += headerText();
  out += kLineEnd;
}

void appendShardRows(std::string& out, std::uint64_t replication, std::uint64_t seed,
                     const std::vector<std::string>& places, const std::vector<double>& values) {
  forEachStatistic(places, values,
                   [&](std::string_view statistic, std::string_view place, std::optional<double> value) {
                     out += std::to_string(replication) + ',' + std::to_string(seed) + ',';
                     out += statistic;
                     out += ',';
                     appendCsvField(out, place);
                     out += ',';
                     if (value) appendExactNumber(out, *value);
                     out += kLineEnd;
                   });
}

std::string shardText(const ReplicationPlan& plan, const std::vector<std::string>& places, const ReplicationsDone& done,
                      std::vector<std::string>& failures) {
  std::string text;
  appendShardHeader(text);
  for (std::size_t i = 0; i < done.outcomes.size(); ++i) {
    const ReplicationOutcome& outcome = done.outcomes[i];
    const std::uint64_t replication = plan.firstReplication + i;
    if (outcome.ok) {
      appendShardRows(text, replication, plan.seed + replication, places, outcome.values);
    } else {
      failures.push_back(outcome.failure);
    }
  }
  return text;
}

bool addShardText(std::string_view text, Summary& summary, int& line, std::string& error) {
  CsvReader reader(text);
  std::vector<std::string> fields;
  std::string fault;
  auto failAt = [&](const std::string& why) {
    line = reader.line();
    error = why;
    return false;
  };
  if (!reader.next(fields, fault)) return failAt(fault.empty() ? "the file is empty" : fault);
  if (fields != std::vector<std::string>(kColumns.begin(), kColumns.end())) {
    return failAt("expected the header " + headerText());
  }
  while (reader.next(fields, fault)) {
    std::uint64_t replication = 0, seed = 0;
    std::optional<double> value;
    if (fault = rowFault(fields, replication, seed, value); !fault.empty()) return failAt(fault);
    if (!summary.sameRun(replication, seed)) {
      return failAt("replication " + fields[0] + " has seed " + fields[1] + ", not " +
                    std::to_string(*summary.runSeed() + replication) + " (the run's seed " +
                    std::to_string(*summary.runSeed()) + " + " + fields[0] + "): a row of another run");
    }
    if (!summary.add(fields[2], fields[3], replication, value)) {
      return failAt("replication " + fields[0] + " of " + fields[2] + (fields[3].empty() ? "" : " " + fields[3]) +
                    " was already read");
    }
  }
  return fault.empty() || failAt(fault);
}
