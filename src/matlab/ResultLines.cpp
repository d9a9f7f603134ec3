// Reading result lines back into values.
#include "matlab/ResultLines.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

double leadingNumber(std::string_view text) { return std::atof(std::string(text).c_str()); }

bool isElementSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }

// The numbers of one matrix row such as "1 2.5,3".
std::unique_ptr<CVectorValue> rowValue(std::string_view row) {
  auto vector = std::make_unique<CVectorValue>(0);
  std::size_t i = 0;
  while (i < row.size()) {
    if (isElementSeparator(row[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < row.size() && !isElementSeparator(row[end])) ++end;
    vector->append(std::make_unique<CDoubleValue>(leadingNumber(row.substr(i, end - i))));
    i = end;
  }
  return vector;
}

std::vector<std::string_view> splitRows(std::string_view body) {
  std::vector<std::string_view> rows;
  std::size_t start = 0;
  for (std::size_t semicolon = body.find(';'); semicolon != std::string_view::npos;
       semicolon = body.find(';', start)) {
    rows.push_back(body.substr(start, semicolon - start));
    start = semicolon + 1;
  }
  rows.push_back(body.substr(start));
  return rows;
}

ValuePtr matrixValue(std::string_view line) {
  std::size_t close = line.rfind(']');
  std::string_view body = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  std::vector<std::string_view> rows = splitRows(body);
  if (rows.size() == 1) return rowValue(rows.front());
  auto matrix = std::make_unique<CVectorValue>(0);
  for (std::string_view row : rows) matrix->append(rowValue(row));
  return matrix;
}

}  // namespace

ValuePtr resultValue(std::string_view line) {
  if (line.starts_with('[')) return matrixValue(line);
  if (line.starts_with('\'')) {
    std::string_view text = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
    return std::make_unique<CStringValue>(std::string(text));
  }
  return std::make_unique<CDoubleValue>(leadingNumber(line));
}

ValuePtr readResults(std::istream& results) {
  std::vector<ValuePtr> outputs;
  std::string line;
  while (static_cast<int>(outputs.size()) < kMaxResultLines && std::getline(results, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    outputs.push_back(resultValue(line));
  }
  if (outputs.size() == 1) return std::move(outputs.front());
  auto vector = std::make_unique<CVectorValue>(0);
  for (auto& output : outputs) vector->append(std::move(output));
  return vector;
}
