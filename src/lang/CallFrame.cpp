// The frame of one user call.
#include "lang/CallFrame.h"

void CallFrame::replace(int i, ValuePtr value) {
  if (cells_[i].ownsValue()) retired_.push_back(cells_[i].release());
  cells_[i].adopt(std::move(value));
}

CDoubleValue& CallFrame::loopCounter(int i) {
  if (CDoubleValue* number = asNumber(ownedAt(i))) {
    number->setNumber(0.0);
    return *number;
  }
  replace(i, std::make_unique<CDoubleValue>(0.0));
  return static_cast<CDoubleValue&>(*cells_[i].get());
}

CObjectValue& CallFrame::loopCursor(int i) {
  if (CObjectValue* object = asObject(ownedAt(i))) {
    object->setTarget(nullptr);
    return *object;
  }
  replace(i, std::make_unique<CObjectValue>());
  return static_cast<CObjectValue&>(*cells_[i].get());
}
