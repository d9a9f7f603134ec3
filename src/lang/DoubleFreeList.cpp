// The per-thread free list behind CDoubleValue's operator new and delete.
// Thread rule: each thread keeps its own list; a number freed on another
// thread than the one that made it simply joins that thread's list.
// Under the address sanitizer the list steps aside (see base/SanitizerBuild.h).
#include "lang/Value.h"

#include "base/SanitizerBuild.h"

#include <cassert>
#include <new>

namespace {

// Blocks kept for reuse per thread; beyond this, freed numbers go back to the heap.
constexpr int kMaxFreeNumbers = 4096;

struct FreeBlock {
  FreeBlock* next;
};

// Plain data, so that it can still be used (as "drained") after the thread's
// destructors have run, e.g. by numbers destroyed during static destruction.
struct FreeList {
  FreeBlock* head;
  int count;
  bool drained;
};

thread_local FreeList freeList{nullptr, 0, false};

// Returns the kept blocks to the heap when the thread ends.
struct FreeListDrain {
  ~FreeListDrain() {
    while (freeList.head != nullptr) {
      FreeBlock* block = freeList.head;
      freeList.head = block->next;
      ::operator delete(block);
    }
    freeList.count = 0;
    freeList.drained = true;
  }
};

thread_local FreeListDrain drain;

}  // namespace

void* CDoubleValue::operator new(std::size_t size) {
  assert(size == sizeof(CDoubleValue));
  static_assert(sizeof(CDoubleValue) >= sizeof(FreeBlock));
  if constexpr (kAddressSanitizerBuild) return ::operator new(size);
  if (FreeBlock* block = freeList.head) {
    freeList.head = block->next;
    --freeList.count;
    return block;
  }
  return ::operator new(size);
}

void CDoubleValue::operator delete(void* block, std::size_t size) {
  if (block == nullptr) return;
  if (kAddressSanitizerBuild || freeList.drained || freeList.count >= kMaxFreeNumbers) {
    ::operator delete(block, size);
    return;
  }
  (void)&drain;  // makes sure this thread returns its kept blocks when it ends
  FreeBlock* freed = static_cast<FreeBlock*>(block);
  freed->next = freeList.head;
  freeList.head = freed;
  ++freeList.count;
}
