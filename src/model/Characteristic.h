// CCharacteristic: one named value of a token, with a ring of the values it
// held at the ends of earlier steps.
// Thread rule: read and written only by the thread that steps its net.
#pragma once

#include "model/GNObject.h"

#include <vector>

class CCharacteristic final : public CGNObject {
 public:
  // Histories longer than this are refused by the token loader: every slot is
  // a value of its own, and a definition must not be able to exhaust memory.
  static constexpr int kMaxHistory = 65536;
  // Nor may the copies a loaded characteristic starts with (its slots and its
  // live value) together pass this size (as values count it).
  static constexpr std::size_t kMaxLoadedSize = 2 * kMaxValueSize;
  // Whether a characteristic of `history` starting as `prototype` keeps kMaxLoadedSize.
  static bool fitsHistory(int history, const CTypedValue& prototype) {
    return (static_cast<std::size_t>(history) + 2) * prototype.size() <= kMaxLoadedSize;
  }

  // `history` earlier values are kept (size = history + 1 slots); `live`
  // becomes the live value and every slot starts as a clone of it.
  // REQUIRES: 0 <= history <= kMaxHistory; live != nullptr.
  CCharacteristic(int history, ValuePtr live);
  int kind() const override { return kKindCharacteristic; }

  // The live value (borrowed for the life of the characteristic).
  CTypedValue& value() const { return *value_; }
  // Assigns `v` to the current slot and to the live value.
  void set(const CTypedValue& v);
  // The slot `k` steps back around the ring; past(0) is the current slot.
  // REQUIRES: k >= 0.
  CTypedValue& past(int k) const;
  // Copies the current slot into the next one and moves on to it.
  void advance();
  // Copies the live value into the current slot.
  void storeCurrent();
  int size() const { return static_cast<int>(slots_.size()); }
  int history() const { return size() - 1; }

 private:
  std::vector<ValuePtr> slots_;
  int currentSlot_ = 0;
  ValuePtr value_;
};
