// Reading result lines back into values.
#include "matlab/ResultLines.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

double leadingNumber(std::string_view text) { return std::atof(std::string(text).c_str()); }

bool isElementSeparator(char c) { return c == ' ' || c == ',' || c == '\t'; }

// The numbers of one matrix row such as "1 2.5,3"; null past the limits of a value.
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
    if (!vector->append(std::make_unique<CDoubleValue>(leadingNumber(row.substr(i, end - i))))) return nullptr;
    i = end;
  }
  return vector;
}

// A vector of `items` (null when one is null or they pass the limits of a value).
ValuePtr vectorOf(std::vector<ValuePtr> items) {
  auto vector = std::make_unique<CVectorValue>(0);
  for (ValuePtr& item : items) {
    if (!item || !vector->append(std::move(item))) return nullptr;
  }
  return vector;
}

enum class LineRead { Line, End, TooLong };

// Reads one line into `line`, its end removed, a chunk at a time; a line
// longer than any value could be is not read on.
LineRead readLine(std::istream& in, std::string& line) {
  line.clear();
  if (in.peek() == std::char_traits<char>::eof()) return LineRead::End;
  char chunk[4096];
  for (;;) {
    in.get(chunk, sizeof chunk, '\n');
    line.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (line.size() > kMaxValueSize) return LineRead::TooLong;
    if (in.eof()) break;
    in.clear();  // get fails when the line's end is the next character
    if (in.peek() == '\n') {
      in.ignore();
      break;
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return LineRead::Line;
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
  std::vector<ValuePtr> values;
  for (std::string_view row : rows) values.push_back(rowValue(row));
  return vectorOf(std::move(values));
}

}  // namespace

ValuePtr resultValue(std::string_view line) {
  if (line.starts_with('[')) return matrixValue(line);
  if (line.starts_with('\'')) {
    std::string_view text = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
    if (kValueCost + text.size() > kMaxValueSize) return nullptr;
    return std::make_unique<CStringValue>(std::string(text));
  }
  return std::make_unique<CDoubleValue>(leadingNumber(line));
}

// The outputs are counted as they are read, so that memory stays within the
// limits of a value whatever the file holds.
ValuePtr readResults(std::istream& results) {
  std::vector<ValuePtr> outputs;
  std::size_t size = kValueCost;  // of the vector the outputs make
  std::string line;
  LineRead read = LineRead::Line;
  while (static_cast<int>(outputs.size()) < kMaxResultLines && (read = readLine(results, line)) != LineRead::End) {
    ValuePtr value = read == LineRead::Line ? resultValue(line) : nullptr;
    if (!value || (size += value->size()) > kMaxValueSize) return nullptr;
    outputs.push_back(std::move(value));
  }
  if (outputs.size() == 1) return std::move(outputs.front());
  return vectorOf(std::move(outputs));
}
