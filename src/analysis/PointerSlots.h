// PointerSlots: a fixed-capacity map from object addresses to small records,
// open addressing with linear probing, so that finding, adding and removing a
// record never allocates once the map is built.
// Invariant: a record lies between its home slot and the first empty slot
// after it (wrapping), which removal keeps by shifting later records back.
// Thread rule: used by one thread at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

template <typename Record>
class PointerSlots {
 public:
  // Room for `capacity` records, in at least twice as many slots.
  explicit PointerSlots(std::size_t capacity)
      : capacity_(capacity), slots_(std::bit_ceil(2 * capacity)), shift_(64 - std::countr_zero(slots_.size())) {}

  std::size_t size() const { return size_; }

  // The record of `key`, or null.
  Record* find(const void* key) {
    for (std::size_t at = home(key);; at = next(at)) {
      if (slots_[at].key == key) return &slots_[at].record;
      if (slots_[at].key == nullptr) return nullptr;
    }
  }

  // The record of `key`, added value-initialised when there is none; null
  // when the map already holds `capacity` records.
  Record* insert(const void* key) {
    std::size_t at = home(key);
    for (; slots_[at].key != nullptr; at = next(at)) {
      if (slots_[at].key == key) return &slots_[at].record;
    }
    if (size_ == capacity_) return nullptr;
    slots_[at] = Slot{key, Record{}};
    ++size_;
    return &slots_[at].record;
  }

  // Removes the record of `key`, if any.
  void erase(const void* key) {
    std::size_t hole = home(key);
    while (slots_[hole].key != key) {
      if (slots_[hole].key == nullptr) return;
      hole = next(hole);
    }
    // Each later record of the run moves into the hole unless its home lies
    // cyclically after the hole, where a search would then miss it.
    for (std::size_t at = next(hole); slots_[at].key != nullptr; at = next(at)) {
      if (distance(home(slots_[at].key), at) >= distance(hole, at)) {
        slots_[hole] = slots_[at];
        hole = at;
      }
    }
    slots_[hole].key = nullptr;
    --size_;
  }

  void clear() {
    for (Slot& slot : slots_) slot.key = nullptr;
    size_ = 0;
  }

 private:
  struct Slot {
    const void* key = nullptr;  // null: empty
    Record record{};
  };

  // Fibonacci hashing of the address; its low bits are alignment.
  std::size_t home(const void* key) const {
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  std::size_t next(std::size_t at) const { return (at + 1) & (slots_.size() - 1); }
  // Slots from `from` forward to `to`, wrapping.
  std::size_t distance(std::size_t from, std::size_t to) const { return (to - from) & (slots_.size() - 1); }

  std::size_t capacity_;
  std::vector<Slot> slots_;
  int shift_;
  std::size_t size_ = 0;
};
