// Seeding a net's pseudo-random generator, and drawing from it.
#include "model/NetRandom.h"

#include <atomic>
#include <chrono>
#include <cstdlib>

namespace {

// Nets made by this process so far: the n of "net n".
std::atomic<std::uint64_t> netsMade{0};

// SplitMix64's finaliser: nearby inputs give unrelated outputs.
std::uint64_t mix(std::uint64_t value) {
  value += 0x9e3779b97f4a7c15ULL;
  value = (value ^ (value >> 30u)) * 0xbf58476d1ce4e5b9ULL;
  value = (value ^ (value >> 27u)) * 0x94d049bb133111ebULL;
  return value ^ (value >> 31u);
}

std::uint64_t clockNanoseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::system_clock::now().time_since_epoch())
                                        .count());
}

// With VANTER_SEED, net n of the process is seeded from the value and n (the
// first net with the value itself, so that a one-net run keeps its stream);
// without it from a fine clock mixed with n, so that nets made in the same
// instant still draw different numbers.
std::uint64_t seedForNet(std::uint64_t net) {
  if (const char* text = std::getenv("VANTER_SEED"); text != nullptr && *text != '\0') {
    std::uint64_t value = std::strtoull(text, nullptr, 10);
    return net == 0 ? value : mix(value ^ mix(net));
  }
  return mix(clockNanoseconds() ^ mix(net));
}

}  // namespace

NetRandom::NetRandom() { seed(seedForNet(netsMade.fetch_add(1, std::memory_order_relaxed))); }

NetRandom::NetRandom(std::uint64_t seedValue) { seed(seedValue); }

void NetRandom::seed(std::uint64_t seedValue) {
  // PCG32 initialisation (O'Neill): a fixed stream, the seed mixed in.
  increment_ = (0xda3e39cb94b95bdbULL << 1u) | 1u;
  state_ = 0;
  next();
  state_ += seedValue;
  next();
}

int NetRandom::next() {
  std::uint64_t old = state_;
  state_ = old * 6364136223846793005ULL + increment_;
  auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
  auto rot = static_cast<std::uint32_t>(old >> 59u);
  std::uint32_t output = (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  return static_cast<int>(output >> 17u);  // the 15 high bits
}
