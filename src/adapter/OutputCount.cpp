// The output-count scan of an m-file.
#include "adapter/OutputCount.h"

#include "adapter/TextLines.h"

#include <string>

namespace {

bool isNameSeparator(char c) { return c == ' ' || c == ','; }

// Counts the runs of characters that are not separators.
int countNames(std::string_view names) {
  int count = 0;
  bool inName = false;
  for (char c : names) {
    bool startsName = !isNameSeparator(c) && !inName;
    if (startsName) ++count;
    inName = !isNameSeparator(c);
  }
  return count;
}

}  // namespace

std::optional<int> bracketedOutputCount(std::string_view line) {
  std::size_t open = line.find('[');
  std::size_t equals = line.find('=');
  if (open == std::string_view::npos || equals == std::string_view::npos || open > equals) return std::nullopt;
  std::size_t close = line.find(']', open);
  if (close == std::string_view::npos) return std::nullopt;
  return countNames(line.substr(open + 1, close - open - 1));
}

int countOutputs(std::istream& mFile) {
  int outputs = 1;
  std::string line;
  while (readLimitedLine(mFile, line, kMaxMFileLine)) {
    if (line.empty() || line.front() == '%') continue;
    if (auto count = bracketedOutputCount(line)) outputs = *count;
  }
  return outputs;
}
