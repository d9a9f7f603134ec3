// The value slot's ownership: whatever a slot hands on is a value of the
// receiver's own, which neither the slot nor the value's first owner can
// change or free afterwards.
#include "lang/ValueSlot.h"

#include <gtest/gtest.h>

namespace {

TEST(ValueSlot, WhatASlotHandsOnOutlivesChangesToTheGiver) {
  struct Row {
    const char* name;
    bool borrowsOwner;  // else the slot keeps its own number in place
    // Hands the slot's value to `receiver` or `released`; gives the value received.
    const CTypedValue* (*handOn)(ValueSlot& slot, ValueSlot& receiver, ValuePtr& released);
  };
  const auto move = [](ValueSlot& slot, ValueSlot& receiver, ValuePtr&) -> const CTypedValue* {
    receiver = std::move(slot);
    return receiver.get();
  };
  const auto takeOver = [](ValueSlot& slot, ValueSlot& receiver, ValuePtr&) -> const CTypedValue* {
    receiver.takeFrom(slot);
    return receiver.get();
  };
  const auto release = [](ValueSlot& slot, ValueSlot&, ValuePtr& released) -> const CTypedValue* {
    released = slot.release();
    return released.get();
  };
  const Row rows[] = {
      {"a number kept in place moves", false, move},
      {"a number kept in place is taken over", false, takeOver},
      {"a borrowed value is taken over as a copy", true, takeOver},
      {"a number kept in place is released to the heap", false, release},
      {"a borrowed value is released as a copy", true, release},
  };
  for (const Row& row : rows) {
    CDoubleValue owner(5);
    ValueSlot slot;
    if (row.borrowsOwner) {
      slot.borrow(&owner);
    } else {
      slot.setNumber(5);
    }
    ValueSlot receiver;
    ValuePtr released;
    const CTypedValue* received = row.handOn(slot, receiver, released);
    EXPECT_EQ(slot, nullptr) << row.name << ": the slot still holds a value";
    slot.setNumber(9);
    owner.setNumber(9);
    const CDoubleValue* number = asNumber(received);
    ASSERT_NE(number, nullptr) << row.name;
    EXPECT_EQ(number->number(), 5) << row.name;
  }
}

}  // namespace
