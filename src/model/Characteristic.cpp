// CCharacteristic: the live value and its ring of earlier values.
#include "model/Characteristic.h"

#include <cassert>
#include <utility>

CCharacteristic::CCharacteristic(int history, ValuePtr live) : value_(std::move(live)) {
  assert(history >= 0 && value_ != nullptr);
  slots_.reserve(static_cast<std::size_t>(history) + 1);
  for (int i = 0; i <= history; ++i) slots_.push_back(value_->clone());
}

void CCharacteristic::set(const CTypedValue& v) {
  slots_[static_cast<std::size_t>(currentSlot_)]->assign(v);
  value_->assign(v);
}

CTypedValue& CCharacteristic::past(int k) const {
  assert(k >= 0);
  int r = k % size();
  int slot = r <= currentSlot_ ? currentSlot_ - r : currentSlot_ - r + size();
  return *slots_[static_cast<std::size_t>(slot)];
}

// With a single slot the copy would be onto itself, which no value type
// changes: the slot is then left untouched (it is on every move).
void CCharacteristic::advance() {
  if (slots_.size() == 1) return;
  int nextSlot = (currentSlot_ + 1) % size();
  slots_[static_cast<std::size_t>(nextSlot)]->assign(*slots_[static_cast<std::size_t>(currentSlot_)]);
  currentSlot_ = nextSlot;
}

void CCharacteristic::storeCurrent() { slots_[static_cast<std::size_t>(currentSlot_)]->assign(*value_); }
