// LargePageBlocks: aligned anonymous mappings for large blocks, the heap for the rest.
#include "base/LargePageBlocks.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace {

constexpr std::size_t kLargeBlock = LargePageBlocks::kLargeBlock;

std::uintptr_t roundUp(std::uintptr_t bytes) { return (bytes + kLargeBlock - 1) & ~(kLargeBlock - 1); }

}  // namespace

LargePageBlocks& LargePageBlocks::instance() {
  static LargePageBlocks blocks;
  return blocks;
}

// Maps one large page more than asked and unmaps the ends, so that the block
// starts on a large-page boundary.
void* LargePageBlocks::do_allocate(std::size_t bytes, std::size_t alignment) {
  if (bytes < kLargeBlock) return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  const std::size_t size = roundUp(bytes);
  void* mapped = mmap(nullptr, size + kLargeBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = roundUp(start);
  if (aligned > start) munmap(mapped, aligned - start);
  const std::size_t tail = start + kLargeBlock - aligned;
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* block = reinterpret_cast<void*>(aligned);
  // Only advice: without large pages the block works as any other mapping.
  madvise(block, size, MADV_HUGEPAGE);
  return block;
}

void LargePageBlocks::do_deallocate(void* block, std::size_t bytes, std::size_t alignment) {
  if (bytes < kLargeBlock) return std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
  munmap(block, roundUp(bytes));
}
