#include "model/NetRandom.h"

#include <chrono>
#include <cstdlib>

namespace {

std::uint64_t seedFromEnvironment() {
  if (const char* text = std::getenv("VANTER_SEED"); text != nullptr && *text != '\0') {
    return std::strtoull(text, nullptr, 10);
  }
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

}  // namespace

NetRandom::NetRandom() { seed(seedFromEnvironment()); }

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
