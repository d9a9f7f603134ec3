// The definition document's arena upstream: large blocks start on a large-page
// boundary and are wholly usable; small ones come from the heap; both return.
#include "base/LargePageBlocks.h"

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace {

TEST(LargePageBlocks, BlocksAreAlignedAndUsableToTheirEnd) {
  struct Row {
    const char* name;
    std::size_t bytes;
    bool largePageAligned;
  };
  const Row rows[] = {
      {"a small block", 64 * 1024, false},
      {"exactly a large page", LargePageBlocks::kLargeBlock, true},
      {"a little more than one large page", LargePageBlocks::kLargeBlock + 1, true},
      {"several large pages", 3 * LargePageBlocks::kLargeBlock + 4096, true},
  };
  std::pmr::memory_resource& blocks = LargePageBlocks::instance();
  for (const Row& row : rows) {
    void* block = blocks.allocate(row.bytes, alignof(std::max_align_t));
    ASSERT_NE(block, nullptr) << row.name;
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    EXPECT_EQ(address % alignof(std::max_align_t), 0u) << row.name;
    if (row.largePageAligned) {
      EXPECT_EQ(address % LargePageBlocks::kLargeBlock, 0u) << row.name;
    }
    std::memset(block, 0x5A, row.bytes);
    EXPECT_EQ(static_cast<unsigned char*>(block)[row.bytes - 1], 0x5A) << row.name;
    blocks.deallocate(block, row.bytes, alignof(std::max_align_t));
  }
}

}  // namespace
