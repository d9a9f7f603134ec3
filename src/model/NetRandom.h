// The pseudo-random generator of one net: values 0 to 32767 like the C
// library's rand, from a PCG32 state (the high bits of its output), seeded when
// the net is created: from a fine clock mixed with the number of nets the
// process has made, or, when VANTER_SEED is set, from its value and that number.
// Thread rule: used by the thread that steps its net.
#pragma once

#include <cstdint>

class NetRandom {
 public:
  static constexpr int kMax = 32767;

  // The process's next net seed: net n of the process (counting from 0) gets
  // VANTER_SEED itself for n = 0 and a mix of the value and n after it;
  // without VANTER_SEED, a mix of the clock's nanoseconds and n.
  NetRandom();
  explicit NetRandom(std::uint64_t seed);

  // The next value, 0 to kMax.
  int next();
  void seed(std::uint64_t seed);

 private:
  std::uint64_t state_ = 0;
  std::uint64_t increment_ = 0;
};
