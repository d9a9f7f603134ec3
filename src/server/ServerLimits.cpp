// ServerLimits: reading the limits from the environment.
#include "server/ServerLimits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

using std::chrono::milliseconds;

std::optional<int> connectionCount(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > ServerLimits::kMostConnections) {
    return std::nullopt;
  }
  return value;
}

// Seconds, kept as whole milliseconds; a duration that rounds to none is refused like 0.
std::optional<milliseconds> duration(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !(value > 0) || value > ServerLimits::kMostSeconds) {
    return std::nullopt;
  }
  milliseconds whole(std::llround(value * 1000));
  if (whole.count() == 0) return std::nullopt;
  return whole;
}

using Lookup = std::function<const char*(const char*)>;

// Reads the variables one at a time; a value the parser refuses leaves the
// limit at its default and adds a complaint naming the rule and the default.
class LimitReader {
 public:
  LimitReader(const Lookup& variable, std::vector<std::string>& complaints)
      : variable_(variable), complaints_(complaints) {}

  template <typename Limit, typename Parse>
  void read(const char* name, const std::string& rule, Parse parse, const std::string& kept, Limit& limit) {
    const char* text = variable_(name);
    if (text == nullptr) return;
    if (auto value = parse(text)) {
      limit = *value;
      return;
    }
    complaints_.push_back(std::string(name) + " is not " + rule + ": \"" + text + "\"; using " + kept + ".");
  }

 private:
  const Lookup& variable_;
  std::vector<std::string>& complaints_;
};

}  // namespace

std::string secondsText(milliseconds duration) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(duration.count()) / 1000);
  std::string shown(text);
  shown.erase(shown.find_last_not_of('0') + 1);
  if (shown.back() == '.') shown.pop_back();
  return shown;
}

ServerLimits readServerLimits(const Lookup& variable, std::vector<std::string>& complaints) {
  ServerLimits limits;
  ConversationLimits& conversation = limits.conversation;
  const std::string seconds = "a number of seconds above 0 and at most " + std::to_string(ServerLimits::kMostSeconds);
  LimitReader reader(variable, complaints);
  reader.read("VANTER_MAX_CONNECTIONS", "a whole number from 1 to " + std::to_string(ServerLimits::kMostConnections),
              connectionCount, std::to_string(limits.maxConnections), limits.maxConnections);
  reader.read("VANTER_HANDSHAKE_TIMEOUT", seconds, duration, secondsText(conversation.handshake) + " s",
              conversation.handshake);
  reader.read("VANTER_IDLE_TIMEOUT", seconds, duration, "no limit", conversation.idle);
  reader.read("VANTER_STEP_LIMIT_S", seconds, duration, "no limit", conversation.requestCpu);
  return limits;
}
