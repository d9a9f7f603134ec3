// ServerLimits: reading the limits from the environment.
#include "server/ServerLimits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

using std::chrono::milliseconds;

std::optional<int> wholeNumber(std::string_view text, int most) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > most) return std::nullopt;
  return value;
}

// Whole milliseconds; a duration that rounds to none is refused like 0.
std::optional<milliseconds> seconds(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !(value > 0) || value > ServerLimits::kMostSeconds) {
    return std::nullopt;
  }
  milliseconds duration(std::llround(value * 1000));
  if (duration.count() == 0) return std::nullopt;
  return duration;
}

// Reads one variable into `limit` with `parse`; a value it refuses is a
// complaint naming the rule and the default kept.
template <typename Limit, typename Parse>
void readLimit(const std::function<const char*(const char*)>& variable, const char* name, const char* rule,
               const std::string& defaultText, Parse parse, Limit& limit, std::vector<std::string>& complaints) {
  const char* text = variable(name);
  if (text == nullptr) return;
  if (auto value = parse(text)) {
    limit = *value;
    return;
  }
  complaints.push_back(std::string(name) + " is not " + rule + ": \"" + text + "\"; using " + defaultText + ".");
}

}  // namespace

std::string secondsText(milliseconds duration) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(duration.count()) / 1000);
  std::string shown(text);
  shown.erase(shown.find_last_not_of('0') + 1);
  if (shown.back() == '.') shown.pop_back();
  return shown;
}

ServerLimits readServerLimits(const std::function<const char*(const char*)>& variable,
                              std::vector<std::string>& complaints) {
  ServerLimits limits;
  std::string secondsRule = "a number of seconds above 0 and at most " +
                            secondsText(milliseconds(static_cast<long long>(ServerLimits::kMostSeconds * 1000)));
  std::string connectionsRule = "a whole number from 1 to " + std::to_string(ServerLimits::kMostConnections);
  auto connections = [](std::string_view text) { return wholeNumber(text, ServerLimits::kMostConnections); };
  readLimit(variable, "VANTER_MAX_CONNECTIONS", connectionsRule.c_str(),
            std::to_string(ServerLimits::kDefaultMaxConnections), connections, limits.maxConnections, complaints);
  ConversationLimits& conversation = limits.conversation;
  readLimit(variable, "VANTER_HANDSHAKE_TIMEOUT", secondsRule.c_str(), secondsText(conversation.handshake) + " s", seconds,
            conversation.handshake, complaints);
  readLimit(variable, "VANTER_IDLE_TIMEOUT", secondsRule.c_str(), "no limit", seconds, conversation.idle, complaints);
  readLimit(variable, "VANTER_STEP_LIMIT_S", secondsRule.c_str(), "no limit", seconds, conversation.requestCpu,
            complaints);
  return limits;
}
