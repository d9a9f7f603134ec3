// Line reading with a per-line limit.
#include "adapter/TextLines.h"

bool readLimitedLine(std::istream& in, std::string& line, std::size_t limit) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line.size() <= limit;
}
