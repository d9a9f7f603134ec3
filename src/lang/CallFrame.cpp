// The variable slots of one user call.
#include "lang/CallFrame.h"

#include <cassert>

LocalSlots::LocalSlots(int count, CallContext& context) : count_(count), context_(&context) {
  assert(count >= 0);
  if (count <= kInlineSlots) {
    values_ = inlineValues_;
    owned_ = inlineOwned_;
  } else {
    heapValues_ = std::make_unique<CTypedValue*[]>(static_cast<std::size_t>(count));
    heapOwned_ = std::make_unique<bool[]>(static_cast<std::size_t>(count));
    values_ = heapValues_.get();
    owned_ = heapOwned_.get();
  }
  for (int i = 0; i < count; ++i) {
    values_[i] = nullptr;
    owned_[i] = false;
  }
}

LocalSlots::~LocalSlots() {
  for (int i = 0; i < count_; ++i) {
    if (owned_[i]) ValuePtr{values_[i]}.reset();
  }
}

void LocalSlots::adopt(int i, ValuePtr value) {
  assert(values_[i] == nullptr);
  owned_[i] = value != nullptr;
  values_[i] = value.release();
}

void LocalSlots::replace(int i, ValuePtr value) {
  if (owned_[i]) retired_.emplace_back(values_[i]);
  owned_[i] = value != nullptr;
  values_[i] = value.release();
}

CDoubleValue& LocalSlots::loopCounter(int i) {
  if (CDoubleValue* number = asNumber(ownedAt(i))) {
    number->setNumber(0.0);
    return *number;
  }
  replace(i, std::make_unique<CDoubleValue>(0.0));
  return static_cast<CDoubleValue&>(*values_[i]);
}

CObjectValue& LocalSlots::loopCursor(int i) {
  if (CObjectValue* object = asObject(ownedAt(i))) {
    object->setTarget(nullptr);
    return *object;
  }
  replace(i, std::make_unique<CObjectValue>());
  return static_cast<CObjectValue&>(*values_[i]);
}
