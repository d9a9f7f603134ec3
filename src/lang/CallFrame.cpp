// The variable slots of one user call.
#include "lang/CallFrame.h"

#include <cassert>

LocalSlots::LocalSlots(int count, CallContext& context) : context_(&context) {
  assert(count >= 0);
  if (count <= kInlineSlots) {
    values_ = inlineValues_;
    owned_ = inlineOwned_;
    return;
  }
  heapValues_ = std::make_unique<CTypedValue*[]>(static_cast<std::size_t>(count));
  heapOwned_ = std::make_unique<ValuePtr[]>(static_cast<std::size_t>(count));
  values_ = heapValues_.get();
  owned_ = heapOwned_.get();
}

void LocalSlots::adopt(int i, ValuePtr value) {
  assert(values_[i] == nullptr);
  values_[i] = value.get();
  owned_[i] = std::move(value);
}

void LocalSlots::replace(int i, ValuePtr value) {
  if (owned_[i]) retired_.push_back(std::move(owned_[i]));
  values_[i] = value.get();
  owned_[i] = std::move(value);
}

CDoubleValue& LocalSlots::loopCounter(int i) {
  if (CDoubleValue* number = asNumber(owned_[i].get())) {
    number->setNumber(0.0);
    return *number;
  }
  replace(i, std::make_unique<CDoubleValue>(0.0));
  return static_cast<CDoubleValue&>(*owned_[i]);
}

CObjectValue& LocalSlots::loopCursor(int i) {
  if (CObjectValue* object = asObject(owned_[i].get())) {
    object->setTarget(nullptr);
    return *object;
  }
  replace(i, std::make_unique<CObjectValue>());
  return static_cast<CObjectValue&>(*owned_[i]);
}
