// The net queries, get-char and set, the named-characteristic built-ins,
// set-nth on the current characteristic and random, on an in-memory net.
#include "NetFixture.h"

#include "builtins/BuiltinFunctions.h"
#include "model/NetRandom.h"

#include <set>

namespace {

using NetQueries = NetFixture;

TEST_F(NetQueries, AnEmptyPlaceHoldsNothing) {
  CPlace* p = place("P");
  EXPECT_EQ(literal(Call(obj(p)).run(primitiveExists).result.get()), "0");
  EXPECT_EQ(literal(Call(obj(p)).run(primitiveIsThere).result.get()), "0");
  EXPECT_EQ(literal(Call(obj(p)).run(primitiveWasThere).result.get()), "0");
  EXPECT_EQ(literal(Call(obj(p)).run(primitiveTokensList).result.get()), "[[empty]]");
}

TEST_F(NetQueries, ATokenThatMovedOnStillCountsAndWasThereButIsNotThere) {
  CPlace* p = place("P");
  put(token("t1"), p);
  entries(p)[0]->setPresent(false);
  EXPECT_EQ(Call(obj(p)).run(primitiveExists).number(), 1.0);
  EXPECT_EQ(Call(obj(p)).run(primitiveIsThere).number(), 0.0);
  EXPECT_EQ(Call(obj(p)).run(primitiveWasThere).number(), 1.0);
  EXPECT_EQ(literal(Call(obj(p)).run(primitiveTokensList).result.get()), "[[empty]]");
}

TEST_F(NetQueries, ATokenThatArrivedDuringTheStepIsThereButWasNot) {
  CPlace* p = place("P");
  put(token("t1"), p);
  entries(p)[0]->setStamp(net_.time() + 1);
  EXPECT_EQ(Call(obj(p)).run(primitiveIsThere).number(), 1.0);
  EXPECT_EQ(Call(obj(p)).run(primitiveWasThere).number(), 0.0);
}

TEST_F(NetQueries, TokensListFollowsThePlacesPriorityOrder) {
  CPlace* p = place("P");
  CToken* low = token("low", 1, 0, 1);
  CToken* high = token("high", 1, 0, 5);
  CToken* middle = token("middle", 1, 0, 3);
  put(low, p);
  put(high, p);
  put(middle, p);
  Outcome outcome = Call(obj(p)).run(primitiveTokensList);
  ASSERT_TRUE(outcome.ok);
  const CVectorValue* list = asVector(outcome.result.get());
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 3);
  const CToken* expected[] = {high, middle, low};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(asObject(list->elementAt(i))->target(), expected[i]) << i;
}

TEST_F(NetQueries, PlaceQueriesRefuseAnythingButAPlace) {
  CToken* t = token("t1");
  struct Row {
    PrimitiveFunction function;
    const char* message;
  };
  const Row rows[] = {
      {primitiveExists, "exists: one GN place argument expected"},
      {primitiveIsThere, "isthere: one GN place argument expected"},
      {primitiveWasThere, "wasthere: one GN place argument expected"},
      {primitiveTokensList, "Tokenslist: place expected"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Call(obj(t)).run(row.function).message(), row.message);
    EXPECT_EQ(Call(num(1)).run(row.function).message(), row.message);
    EXPECT_EQ(Call(obj(nullptr)).run(row.function).message(), row.message);
    EXPECT_EQ(Call().missing().run(row.function).message(), row.message);
  }
}

using CurrentCharacteristic = NetFixture;

// A characteristic whose ring holds 1, 2, 3 with 3 in the current slot.
std::unique_ptr<CCharacteristic> ringOfThree() {
  auto c = std::make_unique<CCharacteristic>(2, CDoubleValue(1));
  c->advance();
  c->set(CDoubleValue(2));
  c->advance();
  c->set(CDoubleValue(3));
  return c;
}

TEST_F(CurrentCharacteristic, GetCharReadsStepsBackAroundTheRing) {
  auto c = ringOfThree();
  const std::pair<double, const char*> rows[] = {{0, "3"}, {1, "2"}, {1.9, "2"}, {2, "1"}, {3, "3"}, {-0.5, "3"}};
  for (const auto& [steps, expected] : rows) {
    Outcome outcome = Call(num(steps)).characteristic(c.get()).run(primitiveGetChar);
    EXPECT_TRUE(outcome.ok) << steps;
    EXPECT_EQ(literal(outcome.result.get()), expected) << steps;
  }
}

TEST_F(CurrentCharacteristic, GetCharOfATokenReadsItsDefaultCharacteristic) {
  CToken* t = token("t1", 42);
  auto unrelated = ringOfThree();
  Outcome outcome = Call(num(0), obj(t)).characteristic(unrelated.get()).run(primitiveGetChar);
  EXPECT_EQ(literal(outcome.result.get()), "42");
}

TEST_F(CurrentCharacteristic, GetCharRefusesWrongArgumentsAndMissingCharacteristics) {
  CToken* t = token("t1");
  CToken* bare = net_.adoptToken(std::make_unique<CToken>(net_));
  auto c = ringOfThree();
  EXPECT_EQ(Call().characteristic(c.get()).run(primitiveGetChar).message(), "get_char: one or two arguments expected");
  EXPECT_EQ(Call(num(0), obj(t), num(1)).run(primitiveGetChar).message(), "get_char: one or two arguments expected");
  EXPECT_EQ(Call(obj(t), num(0)).run(primitiveGetChar).message(), "get_char: second argument should be numeric");
  EXPECT_EQ(Call(num(0), num(5)).run(primitiveGetChar).message(), "get_char: first argument should be a token object");
  EXPECT_EQ(Call(num(-1)).characteristic(c.get()).run(primitiveGetChar).message(),
            "get_char: the number of steps back must not be negative.");
  const char* noCharacteristic =
      "get_char: no characteristic to read: there is no token, or the token has no characteristics.";
  EXPECT_EQ(Call(num(0)).run(primitiveGetChar).message(), noCharacteristic);
  EXPECT_EQ(Call(num(0), obj(bare)).run(primitiveGetChar).message(), noCharacteristic);
}

TEST_F(CurrentCharacteristic, SetAssignsOnlyValuesOfTheSameType) {
  CCharacteristic c(2, CDoubleValue(1));
  EXPECT_TRUE(Call(num(7)).characteristic(&c).run(primitiveSet).ok);
  EXPECT_EQ(literal(&c.value()), "7");
  EXPECT_EQ(literal(&c.past(0)), "7");
  EXPECT_TRUE(Call(str("text")).characteristic(&c).run(primitiveSet).ok);
  EXPECT_EQ(literal(&c.value()), "7");
  EXPECT_EQ(Call(obj(nullptr)).characteristic(&c).run(primitiveSet).message(), "Set: value expected.");
  EXPECT_EQ(Call(num(1)).run(primitiveSet).message(),
            "Set: no characteristic to set: the function runs for no token, or for one without characteristics.");
}

TEST_F(CurrentCharacteristic, TwoArgumentSetNthChangesTheLiveValueOfAVectorOnly) {
  CCharacteristic vector(0, *vec({1, 2}));
  EXPECT_TRUE(Call(num(0), num(9)).characteristic(&vector).run(primitiveSetNth).ok);
  EXPECT_EQ(literal(&vector.value()), "[9 2]");
  EXPECT_EQ(literal(&vector.past(0)), "[1 2]");
  CCharacteristic number(0, CDoubleValue(4));
  EXPECT_TRUE(Call(num(0), num(9)).characteristic(&number).run(primitiveSetNth).ok);
  EXPECT_EQ(literal(&number.value()), "4");
}

using NamedCharacteristics = NetFixture;

TEST_F(NamedCharacteristics, SetNamedCreatesAFiveStepHistoryThatGetNamedReads) {
  CToken* t = token("t1");
  EXPECT_EQ(literal(Call(obj(t), str("speed")).run(primitiveGetNamed).result.get()), "0");
  for (int i = 1; i <= 6; ++i) ASSERT_TRUE(Call(obj(t), str("speed"), num(i)).run(primitiveSetNamed).ok);
  EXPECT_EQ(literal(Call(obj(t), str("speed")).run(primitiveGetNamed).result.get()), "6");
  const CCharacteristic* speed = t->characteristic("speed");
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->history(), 5);
  // Created with every slot holding the first value; later sets change the current slot only.
  EXPECT_EQ(literal(&speed->past(0)), "6");
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(literal(&speed->past(k)), "1") << k;
  EXPECT_EQ(t->defaultCharacteristic(), t->characteristic("Default"));
}

TEST_F(NamedCharacteristics, SetNamedKeepsTheTypeOfAnExistingCharacteristic) {
  CToken* t = token("t1", 3);
  EXPECT_TRUE(Call(obj(t), str("Default"), str("x")).run(primitiveSetNamed).ok);
  EXPECT_EQ(literal(Call(obj(t), str("Default")).run(primitiveGetNamed).result.get()), "3");
  EXPECT_TRUE(Call(obj(t), str("Default"), num(8)).run(primitiveSetNamed).ok);
  EXPECT_EQ(literal(&t->defaultCharacteristic()->value()), "8");
}

TEST_F(NamedCharacteristics, DelNamedRemovesTheNameButKeepsTheDefault) {
  CToken* t = token("t1", 5);
  CCharacteristic* before = t->defaultCharacteristic();
  Outcome removed = Call(obj(t), str("Default")).run(primitiveDelNamed);
  EXPECT_TRUE(removed.ok);
  EXPECT_EQ(literal(removed.result.get()), "1");
  EXPECT_EQ(t->characteristic("Default"), nullptr);
  EXPECT_EQ(t->defaultCharacteristic(), before);
  EXPECT_EQ(literal(Call(num(0), obj(t)).run(primitiveGetChar).result.get()), "5");
  EXPECT_EQ(literal(Call(obj(t), str("Default")).run(primitiveGetNamed).result.get()), "0");
  EXPECT_EQ(Call(obj(t), str("Default")).run(primitiveDelNamed).message(), "del-named: Named characteristic not found.");
}

TEST_F(NamedCharacteristics, RefuseArgumentsThatAreNotATokenAndAName) {
  CToken* t = token("t1");
  CPlace* p = place("P");
  EXPECT_EQ(Call(obj(p), str("a")).run(primitiveGetNamed).message(), "get-named: Invalid Arguments.");
  EXPECT_EQ(Call(obj(t), num(1)).run(primitiveGetNamed).message(), "get-named: Invalid Arguments.");
  EXPECT_EQ(Call(obj(t), str("a"), obj(t)).run(primitiveSetNamed).message(), "set-named: Invalid Arguments.");
  EXPECT_EQ(Call(str("a"), obj(t), num(1)).run(primitiveSetNamed).message(), "set-named: Invalid Arguments.");
  EXPECT_EQ(Call(obj(t)).run(primitiveDelNamed).message(), "del-named: Invalid Arguments.");
  EXPECT_EQ(t->characteristics().size(), 1u);
}

using Random = NetFixture;

TEST_F(Random, DrawsFromTheNetsGeneratorWithTheSignRuleOfRemainder) {
  net_.random().seed(42);
  NetRandom same(42);
  std::set<double> seen;
  for (int i = 0; i < 500; ++i) {
    const double bound = i % 2 == 0 ? 10.0 : -10.9;
    const double drawn = Call(num(bound)).context(&net_).run(primitiveRandom).number();
    EXPECT_EQ(drawn, same.next() % 10);
    seen.insert(drawn);
  }
  EXPECT_EQ(seen.size(), 10u);
  EXPECT_EQ(*seen.begin(), 0.0);
  EXPECT_EQ(*seen.rbegin(), 9.0);
}

TEST_F(Random, RefusesABoundThatTruncatesToZeroOrIsNoNumber) {
  EXPECT_EQ(Call(num(0.9)).context(&net_).run(primitiveRandom).message(),
            "random: the argument truncates to 0; no value lies below it.");
  EXPECT_EQ(Call(str("9")).context(&net_).run(primitiveRandom).message(), "random: One numeric argument expected");
}

}  // namespace
