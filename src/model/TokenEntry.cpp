// CTokenEntry: construction and the per-thread free list its blocks come from
// (which steps aside under the address sanitizer, see base/SanitizerBuild.h).
#include "model/TokenEntry.h"

#include "base/SanitizerBuild.h"
#include "model/Token.h"

#include <cassert>
#include <new>
#include <vector>

namespace {

// Blocks kept for reuse per thread; beyond this they go back to the heap.
constexpr std::size_t kMaxCachedEntries = 16384;

// The free blocks of one thread; returned to the heap when the thread ends.
struct EntryCache {
  std::vector<void*> blocks;
  ~EntryCache() {
    for (void* block : blocks) ::operator delete(block);
  }
};

thread_local EntryCache cache;

}  // namespace

CTokenEntry::CTokenEntry(CToken* token, int stamp) : token_(token), stamp_(stamp) {
  assert(token != nullptr);
  setPriority(token->priority());
}

void* CTokenEntry::operator new(std::size_t size) {
  if (kAddressSanitizerBuild || size != sizeof(CTokenEntry) || cache.blocks.empty()) return ::operator new(size);
  void* block = cache.blocks.back();
  cache.blocks.pop_back();
  return block;
}

void CTokenEntry::operator delete(void* block, std::size_t size) {
  if (block == nullptr) return;
  if (kAddressSanitizerBuild || size != sizeof(CTokenEntry) || cache.blocks.size() >= kMaxCachedEntries) {
    ::operator delete(block);
    return;
  }
  cache.blocks.push_back(block);
}
