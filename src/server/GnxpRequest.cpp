// The number rules of GNXP/0.1 requests.
#include "server/GnxpRequest.h"

#include <limits>

namespace {

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::int64_t> leadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isSpace(text[at])) ++at;
  bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  if (at == text.size() || !isDigit(text[at])) return std::nullopt;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    int digit = text[at] - '0';
    value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
  }
  return negative ? -value : value;
}

int stepCount(std::string_view line) {
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return 1;
  std::int64_t count = leadingNumber(line.substr(blank + 1)).value_or(0);
  constexpr std::int64_t kMin = std::numeric_limits<int>::min();
  constexpr std::int64_t kMax = std::numeric_limits<int>::max();
  return static_cast<int>(count < kMin ? kMin : count > kMax ? kMax : count);
}

std::int64_t contentLengthAfter(std::string_view valueAfterColon, std::int64_t current) {
  if (valueAfterColon.size() < 2) return current;
  std::optional<std::int64_t> value = leadingNumber(valueAfterColon.substr(1));
  if (!value) return current;
  return *value < 0 || *value > kMaxContentLength ? -1 : *value;
}
