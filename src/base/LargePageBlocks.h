// LargePageBlocks: an upstream for arenas that grow to megabytes: blocks of
// kLargeBlock or more are mapped on their own, aligned so that the kernel may
// back them with large pages, and unmapped when released; smaller blocks come
// from the heap. Each first touch of a small page is a fault, and on a virtual
// machine a fault costs microseconds: a 15 MB arena touched page by page pays
// thousands of them, backed by large pages a handful.
// Thread rule: stateless; any thread.
#pragma once

#include <cstddef>
#include <memory_resource>

class LargePageBlocks final : public std::pmr::memory_resource {
 public:
  // The kernel's large page on x86-64: blocks from this size up are mapped.
  static constexpr std::size_t kLargeBlock = std::size_t{2} << 20;

  // The shared instance.
  static LargePageBlocks& instance();

 private:
  // Throws std::bad_alloc when the system refuses the memory.
  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  void do_deallocate(void* block, std::size_t bytes, std::size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};
