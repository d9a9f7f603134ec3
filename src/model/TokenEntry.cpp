// CTokenEntry: construction and the per-thread free list its blocks come from
// (which steps aside under the address sanitizer, see base/FreeList.h).
#include "model/TokenEntry.h"

#include "base/FreeList.h"
#include "model/Token.h"

#include <cassert>

namespace {

// Blocks kept for reuse per thread; beyond this they go back to the heap.
constexpr int kMaxCachedEntries = 16384;

using EntryBlocks = FreeList<sizeof(CTokenEntry), kMaxCachedEntries>;

}  // namespace

CTokenEntry::CTokenEntry(CToken* token, int stamp) : token_(token), stamp_(stamp) {
  assert(token != nullptr);
  setPriority(token->priority());
}

void* CTokenEntry::operator new([[maybe_unused]] std::size_t size) {
  assert(size == sizeof(CTokenEntry));
  return EntryBlocks::take();
}

void CTokenEntry::operator delete(void* block, std::size_t) { EntryBlocks::give(block); }
