// PointerSlots against std::unordered_map: a long random mix of additions and
// removals over few keys, so that runs of colliding records form, wrap
// around the table and are cut in the middle.
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

#include "analysis/PointerSlots.h"

namespace {

TEST(PointerSlots, AgreesWithAMapThroughAddsAndRemovals) {
  constexpr std::size_t kCapacity = 48;
  std::vector<char> objects(2 * kCapacity);
  PointerSlots<int> slots(kCapacity);
  std::unordered_map<const void*, int> expected;
  std::mt19937 random(7);
  for (int operation = 0; operation < 20000; ++operation) {
    const void* key = &objects[random() % objects.size()];
    if (random() % 2 == 0) {
      int* record = slots.insert(key);
      ASSERT_EQ(record == nullptr, expected.size() == kCapacity && expected.count(key) == 0);
      if (record != nullptr) *record = expected[key] = operation;
    } else {
      slots.erase(key);
      expected.erase(key);
    }
    ASSERT_EQ(slots.size(), expected.size());
    for (const char& object : objects) {
      const int* record = slots.find(&object);
      auto found = expected.find(&object);
      ASSERT_EQ(record != nullptr, found != expected.end()) << "after operation " << operation;
      if (record != nullptr) {
        ASSERT_EQ(*record, found->second);
      }
    }
  }
}

}  // namespace
