// CCharacteristic: the live value, the history ring, past() around the ring.
#include "model/Characteristic.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

double number(const CTypedValue& value) { return static_cast<const CDoubleValue&>(value).number(); }

TEST(Characteristic, StartsWithEverySlotACloneOfTheLiveValue) {
  auto live = std::make_unique<CDoubleValue>(4.5);
  const CTypedValue* given = live.get();
  CCharacteristic c(2, std::move(live));
  EXPECT_EQ(c.size(), 3);
  EXPECT_EQ(c.history(), 2);
  EXPECT_EQ(&c.value(), given);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(number(c.past(k)), 4.5);
    EXPECT_NE(&c.past(k), given);
  }
  static_cast<CDoubleValue&>(c.value()).setNumber(9.0);  // the slots are copies, not the live value
  EXPECT_EQ(number(c.past(0)), 4.5);
}

TEST(Characteristic, SetWritesTheCurrentSlotAndTheLiveValue) {
  CCharacteristic c(1, std::make_unique<CDoubleValue>(0.0));
  c.set(CDoubleValue(7.0));
  EXPECT_EQ(number(c.value()), 7.0);
  EXPECT_EQ(number(c.past(0)), 7.0);
  EXPECT_EQ(number(c.past(1)), 0.0);
}

TEST(Characteristic, ThreeArrivalsLaterPastThreeIsTheValueBeforeTheFirst) {
  // History 3: four slots. Each "step" changes the value, the step end stores
  // it, and the next arrival advances the ring.
  CCharacteristic c(3, std::make_unique<CDoubleValue>(10.0));
  for (double v : {11.0, 12.0, 13.0}) {
    c.advance();
    c.value().assign(CDoubleValue(v));
    c.storeCurrent();
  }
  EXPECT_EQ(number(c.past(0)), 13.0);
  EXPECT_EQ(number(c.past(1)), 12.0);
  EXPECT_EQ(number(c.past(2)), 11.0);
  EXPECT_EQ(number(c.past(3)), 10.0);
  // k equal to size comes back to the current slot; k beyond wraps on.
  EXPECT_EQ(number(c.past(4)), 13.0);
  EXPECT_EQ(number(c.past(5)), 12.0);
}

TEST(Characteristic, AdvanceStartsTheNewSlotAsACopyAndWrapsAround) {
  CCharacteristic c(1, std::make_unique<CDoubleValue>(1.0));
  c.set(CDoubleValue(2.0));
  c.advance();  // slot 1 = 2, current 1
  EXPECT_EQ(number(c.past(0)), 2.0);
  EXPECT_EQ(number(c.past(1)), 2.0);
  c.set(CDoubleValue(3.0));
  c.advance();  // back to slot 0, a copy of 3
  EXPECT_EQ(number(c.past(0)), 3.0);
  EXPECT_EQ(number(c.past(1)), 3.0);
  c.set(CDoubleValue(4.0));
  EXPECT_EQ(number(c.past(1)), 3.0);
}

TEST(Characteristic, HistoryZeroHasOneSlotForEveryPast) {
  CCharacteristic c(0, std::make_unique<CStringValue>("a"));
  c.set(CStringValue("b"));
  c.advance();
  for (int k : {0, 1, 2, 17}) EXPECT_EQ(textOf(c.past(k)), "b");
}

}  // namespace
