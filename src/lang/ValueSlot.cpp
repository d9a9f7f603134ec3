// ValueSlot: moving a slot, and handing its value to an owner elsewhere.
#include "lang/ValueSlot.h"

void ValueSlot::moveFrom(ValueSlot& other) {
  if (other.isInPlace()) {
    setNumber(static_cast<CDoubleValue*>(other.get())->number());
    other.reset();
  } else {
    held_ = std::move(other.held_);
  }
}

ValuePtr ValueSlot::release() {
  if (held_.owns()) return held_.release();
  ValuePtr copy = get() != nullptr ? get()->clone() : nullptr;
  reset();
  return copy;
}
