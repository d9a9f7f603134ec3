// ServerLimits: what a server allows its clients: how many conversations at
// once, how long a new client may take to identify itself and ask its first
// request, how long a conversation may stay silent, and how much processor
// time one request may use. Read from the environment; unset, the defaults.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What each conversation is held to.
struct ConversationLimits {
  static constexpr std::chrono::milliseconds kDefaultHandshake{60'000};

  // From the connection to the end of the client's first request line.
  std::chrono::milliseconds handshake = kDefaultHandshake;
  // Silence while the server waits for the client's bytes; none: no limit.
  std::optional<std::chrono::milliseconds> idle;
  // Processor time of one INIT or STEP; none: no limit.
  std::optional<std::chrono::milliseconds> requestCpu;
};

struct ServerLimits {
  // Half the kernel's default hard limit on descriptors (4096), so that even
  // there every conversation keeps a spare descriptor for the files its net
  // opens; each conversation is also a thread.
  static constexpr int kDefaultMaxConnections = 2048;
  static constexpr int kMostConnections = 1'000'000;
  // A year: a longer limit is no limit in practice and would be a typo.
  static constexpr int kMostSeconds = 365 * 24 * 3600;

  int maxConnections = kDefaultMaxConnections;
  ConversationLimits conversation;
};

// The limits set by VANTER_MAX_CONNECTIONS (a whole number from 1 to
// kMostConnections), VANTER_HANDSHAKE_TIMEOUT, VANTER_IDLE_TIMEOUT and
// VANTER_STEP_LIMIT_S (seconds above 0 and at most kMostSeconds, fractions
// allowed), looked up with `variable`. A value outside those rules keeps the
// default and adds a one-line complaint to `complaints`.
ServerLimits readServerLimits(const std::function<const char*(const char*)>& variable,
                              std::vector<std::string>& complaints);

// A duration in seconds as the log shows it, with a fraction only when it has
// one: "60", "0.25".
std::string secondsText(std::chrono::milliseconds duration);
