// ValueSlot: where evaluation and built-ins put a value: nothing, a value
// borrowed from its owner (a variable, a literal), a value the slot owns, or a
// number the slot keeps in place. Numbers are what evaluation makes and drops
// most, so a result that is a number never touches the heap.
// Thread rule: lives on the stack of the thread that evaluates.
#pragma once

#include "base/Holder.h"
#include "lang/Value.h"

#include <cstddef>
#include <new>

class ValueSlot {
 public:
  ValueSlot() = default;
  // A number kept in place is copied; anything else moves.
  ValueSlot(ValueSlot&& other) noexcept { moveFrom(other); }
  ValueSlot& operator=(ValueSlot&& other) noexcept {
    if (this != &other) moveFrom(other);
    return *this;
  }
  ValueSlot(const ValueSlot&) = delete;
  ValueSlot& operator=(const ValueSlot&) = delete;

  // The value (borrowed from the slot), or null when it holds none.
  CTypedValue* get() const { return held_.get(); }
  // True unless the value is borrowed from elsewhere (or there is none).
  bool ownsValue() const { return held_.owns() || isInPlace(); }

  void borrow(CTypedValue* value) { held_.borrow(value); }
  void adopt(ValuePtr value) { held_.adopt(std::move(value)); }
  // A new number, kept in place.
  void setNumber(double number) {
    CDoubleValue* inPlace = ::new (numberStorage_) CDoubleValue(number);
    held_.borrow(inPlace);
  }
  // A copy of `value` of the slot's own (a number in place, else a clone).
  void setCopy(const CTypedValue& value) {
    if (value.typeCode() == kTypeDouble) {
      setNumber(static_cast<const CDoubleValue&>(value).number());
    } else {
      adopt(value.clone());
    }
  }
  // Takes over `other`'s value as a value of its own: an owned value moves, a
  // number or a borrowed value is copied. `other` is left empty.
  void takeFrom(ValueSlot& other) {
    if (other.held_.owns()) {
      held_ = std::move(other.held_);
    } else if (other.get() != nullptr) {
      setCopy(*other.get());
      other.reset();
    } else {
      reset();
    }
  }
  // The value as a heap value for an owner elsewhere: an owned one moves out,
  // a number in place or a borrowed value is cloned. Null when there is none.
  ValuePtr release();
  void reset() { held_.reset(); }

  friend bool operator==(const ValueSlot& slot, std::nullptr_t) { return slot.get() == nullptr; }

 private:
  void moveFrom(ValueSlot& other);
  bool isInPlace() const {
    return static_cast<const void*>(held_.get()) == static_cast<const void*>(numberStorage_);
  }

  Holder<CTypedValue> held_;
  // Raw storage: the number is constructed only when one is kept.
  alignas(CDoubleValue) unsigned char numberStorage_[sizeof(CDoubleValue)];
};
