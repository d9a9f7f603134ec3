// The pseudo-random generator of one net: values 0 to 32767 like the C
// library's rand, from a PCG32 state (the high bits of its output), seeded when
// the net is created from the clock or from VANTER_SEED when that is set.
// Thread rule: used by the thread that steps its net.
#pragma once

#include <cstdint>

class NetRandom {
 public:
  static constexpr int kMax = 32767;

  // Seeds from VANTER_SEED when set (a decimal number), else from the clock.
  NetRandom();
  explicit NetRandom(std::uint64_t seed);

  // The next value, 0 to kMax.
  int next();
  void seed(std::uint64_t seed);

 private:
  std::uint64_t state_ = 0;
  std::uint64_t increment_ = 0;
};
