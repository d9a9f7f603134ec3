// Seeding of the nets' generators: nets made one right after another, with
// or without VANTER_SEED, never share a stream.
#include "model/NetRandom.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>

namespace {

std::array<int, 4> firstDraws(NetRandom& random) {
  return {random.next(), random.next(), random.next(), random.next()};
}

TEST(NetRandom, NetsMadeTogetherDrawDifferentStreams) {
  for (const char* seed : {static_cast<const char*>(nullptr), "5"}) {
    if (seed != nullptr) setenv("VANTER_SEED", seed, 1);
    std::set<std::array<int, 4>> streams;
    for (int net = 0; net < 64; ++net) {
      NetRandom random;
      streams.insert(firstDraws(random));
    }
    unsetenv("VANTER_SEED");
    EXPECT_EQ(streams.size(), 64u) << (seed != nullptr ? "with VANTER_SEED" : "from the clock");
  }
}

}  // namespace
