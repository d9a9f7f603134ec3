// FreeList<Size, Capacity>: per-thread lists of freed blocks of one size, for
// the objects that are made and dropped on every evaluation or move (numbers,
// token entries): a freed block waits for the thread's next allocation of that
// size instead of going back to the heap. A class uses it from its own
// operator new and delete.
// Thread rule: each thread keeps its own list; a block freed on another thread
// than the one that took it simply joins that thread's list.
// Teardown: when a thread ends, its kept blocks go back to the heap, and any
// block freed on it afterwards (during static destruction) goes straight there.
// Under the address sanitizer the lists keep no blocks (see SanitizerBuild.h).
#pragma once

#include "base/SanitizerBuild.h"

#include <cstddef>
#include <new>

// Size: the block size (the class's size); Capacity: blocks kept per thread,
// beyond which freed blocks go back to the heap.
template <std::size_t Size, int Capacity>
class FreeList {
 public:
  static void* take() {
    if constexpr (kKeepBlocks) {
      if (Block* block = list.head) {
        list.head = block->next;
        --list.count;
        return block;
      }
    }
    return ::operator new(Size);
  }

  static void give(void* block) {
    if (block == nullptr) return;
    if (!kKeepBlocks || list.drained || list.count >= Capacity) {
      ::operator delete(block, Size);
      return;
    }
    (void)&drain;  // makes sure this thread returns its kept blocks when it ends
    Block* freed = static_cast<Block*>(block);
    freed->next = list.head;
    list.head = freed;
    ++list.count;
  }

 private:
  static constexpr bool kKeepBlocks = !kAddressSanitizerBuild;

  struct Block {
    Block* next;
  };
  static_assert(Size >= sizeof(Block), "a block must hold the list's link");

  // Plain data, so that it can still be read (as drained) after the thread's
  // destructors have run.
  struct List {
    Block* head;
    int count;
    bool drained;
  };

  struct Drain {
    ~Drain() {
      while (Block* block = list.head) {
        list.head = block->next;
        ::operator delete(block, Size);
      }
      list.count = 0;
      list.drained = true;
    }
  };

  static inline thread_local List list{nullptr, 0, false};
  static inline thread_local Drain drain;
};
