// Summary: means, deviations and intervals in replication order, and the table.
#include "analysis/Summary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>

#include "analysis/StudentT.h"
#include "analysis/TextFields.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kConfidence = 0.95;
constexpr std::array<const char*, 6> kHeader = {"statistic", "place", "mean", "sd", "ci95", "n"};
constexpr std::size_t kFirstNumberColumn = 2;
constexpr const char* kNumberFormat = "%.6g";

// Mean, deviation and half-width of the values present, in replication order.
SummaryLine summarise(const std::map<std::uint64_t, std::optional<double>>& values) {
  SummaryLine line;
  double sum = 0.0;
  for (const auto& [replication, value] : values) {
    if (!value) continue;
    sum += *value;
    ++line.count;
  }
  line.mean = line.count == 0 ? kNone : sum / line.count;
  line.deviation = kNone;
  line.halfWidth = kNone;
  if (line.count < 2) return line;
  double squares = 0.0;
  for (const auto& [replication, value] : values) {
    if (value) squares += (*value - line.mean) * (*value - line.mean);
  }
  line.deviation = std::sqrt(squares / (line.count - 1));
  line.halfWidth = studentTQuantile(0.5 + kConfidence / 2, line.count - 1) * line.deviation / std::sqrt(line.count);
  return line;
}

std::string number(double value) {
  if (std::isnan(value)) return "-";
  char text[64];
  std::snprintf(text, sizeof text, kNumberFormat, value);
  return text;
}

std::array<std::string, kHeader.size()> cells(const SummaryLine& line) {
  return {line.statistic,         line.place,
          number(line.mean),      number(line.deviation),
          number(line.halfWidth), std::to_string(line.count)};
}

// Text columns are aligned left, numbers right; the last column ends the line.
void appendRow(std::string& out, const std::array<std::string, kHeader.size()>& row,
               const std::array<std::size_t, kHeader.size()>& widths) {
  for (std::size_t column = 0; column < row.size(); ++column) {
    const std::string padding(widths[column] - utf8Length(row[column]), ' ');
    if (column > 0) out += "  ";
    out += column < kFirstNumberColumn ? row[column] + padding : padding + row[column];
  }
  out += '\n';
}

}  // namespace

bool Summary::add(std::string_view statistic, std::string_view place, std::uint64_t replication,
                  std::optional<double> value) {
  auto key = std::make_pair(std::string(statistic), std::string(place));
  auto [found, added] = columnIndex_.try_emplace(key, columns_.size());
  if (added) columns_.push_back(Column{key.first, key.second, {}});
  return columns_[found->second].values.try_emplace(replication, value).second;
}

// Seeds wrap round 2^64 as a run's S + i does.
bool Summary::sameRun(std::uint64_t replication, std::uint64_t seed) {
  if (!runSeed_) runSeed_ = seed - replication;
  return *runSeed_ == seed - replication;
}

std::size_t Summary::replications() const {
  std::set<std::uint64_t> seen;
  for (const Column& column : columns_) {
    for (const auto& entry : column.values) seen.insert(entry.first);
  }
  return seen.size();
}

std::vector<SummaryLine> Summary::lines() const {
  std::vector<SummaryLine> lines;
  for (const Column& column : columns_) {
    SummaryLine line = summarise(column.values);
    line.statistic = column.statistic;
    line.place = column.place;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string formatTable(const std::vector<SummaryLine>& lines) {
  std::vector<std::array<std::string, kHeader.size()>> rows;
  rows.push_back({kHeader[0], kHeader[1], kHeader[2], kHeader[3], kHeader[4], kHeader[5]});
  for (const SummaryLine& line : lines) rows.push_back(cells(line));
  std::array<std::size_t, kHeader.size()> widths{};
  for (const auto& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      widths[column] = std::max(widths[column], utf8Length(row[column]));
    }
  }
  std::string table;
  for (const auto& row : rows) appendRow(table, row, widths);
  return table;
}
