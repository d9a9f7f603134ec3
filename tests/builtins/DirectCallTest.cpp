// Built-ins called directly on the objects of a loaded net, for what source
// text cannot set up: entries that moved or arrived during a step, priority
// order, calls for no characteristic, a full tokens table, the net's random
// generator and the timing references.
#include "GnvcflNet.h"
#include "PrimitiveCall.h"

#include "builtins/BuiltinFunctions.h"
#include "model/Characteristic.h"
#include "model/NetRandom.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/TokenEntry.h"

#include <chrono>
#include <thread>

namespace {

const PrimitiveContext kNoContext{nullptr, nullptr};

template <typename... Values>
Outcome call(PrimitiveFunction function, Values... values) {
  return callPrimitive(function, nullptr, kNoContext, std::move(values)...);
}
template <typename... Values>
Outcome callFor(CCharacteristic* current, PrimitiveFunction function, Values... values) {
  return callPrimitive(function, current, kNoContext, std::move(values)...);
}

CTokenEntry& firstEntry(CPlace* place) { return *static_cast<CTokenEntry*>(*place->tokens().begin()); }

std::string placeQueries(CPlace* place) {
  std::string answers;
  for (PrimitiveFunction query : {primitiveExists, primitiveIsThere, primitiveWasThere}) {
    answers += literal(call(query, obj(place)).result.get());
  }
  return answers;
}

TEST(DirectCall, PlaceQueriesSeeEntriesThatMovedOnOrArrivedDuringTheStep) {
  GnvcflNet net("");
  ASSERT_TRUE(net.ready()) << net.log().text();
  CPlace* a = net.place("A");
  EXPECT_EQ(placeQueries(a), "111");
  firstEntry(a).setStamp(net.net().time() + 1);  // arrived through a transition in this step
  EXPECT_EQ(placeQueries(a), "110");
  firstEntry(a).setStamp(net.net().time());
  firstEntry(a).setPresent(false);  // moved on in this step
  EXPECT_EQ(placeQueries(a), "101");
  EXPECT_EQ(literal(call(primitiveTokensList, obj(a)).result.get()), "[[empty]]");
}

TEST(DirectCall, TokensListFollowsThePlacesPriorityOrder) {
  GnvcflNet net("", "<token id=\"p1\" host=\"A\" priority=\"1\"/><token id=\"p5\" host=\"A\" priority=\"5\"/>"
                    "<token id=\"p3\" host=\"A\" priority=\"3\"/>");
  ASSERT_TRUE(net.ready()) << net.log().text();
  const Outcome outcome = call(primitiveTokensList, obj(net.place("A")));
  const CVectorValue* list = asVector(outcome.result.get());
  ASSERT_NE(list, nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < list->count(); ++i) {
    names.push_back(net.net().tokenName(static_cast<CToken*>(asObject(list->elementAt(i))->target())));
  }
  EXPECT_EQ(names, std::vector<std::string>({"p5", "p3", "p1", "k"}));
}

TEST(DirectCall, GetCharReadsAroundTheRingAndNeedsACharacteristic) {
  CCharacteristic ring(2, std::make_unique<CDoubleValue>(1));
  ring.advance();
  ring.set(CDoubleValue(2));
  ring.advance();
  ring.set(CDoubleValue(3));
  const std::pair<double, const char*> steps[] = {{0, "3"}, {1, "2"}, {1.9, "2"}, {2, "1"}, {3, "3"}};
  for (const auto& [back, expected] : steps) {
    EXPECT_EQ(literal(callFor(&ring, primitiveGetChar, num(back)).result.get()), expected) << back;
  }
  GnvcflNet net("", "<token id=\"bare\" host=\"A\"/>");
  ASSERT_TRUE(net.ready()) << net.log().text();
  const char* none = "get_char: no characteristic to read: there is no token, or the token has no characteristics.";
  EXPECT_EQ(call(primitiveGetChar, num(0)).message(), none);
  EXPECT_EQ(callFor(&ring, primitiveGetChar, num(0), obj(net.token("bare"))).message(), none);
  EXPECT_EQ(call(primitiveSet, num(1)).message(),
            "Set: no characteristic to set: the function runs for no token, or for one without characteristics.");
  EXPECT_EQ(call(primitiveSetNth, num(0), num(9)).message(), "SetNth: invalid arguments.");
}

TEST(DirectCall, TwoArgumentSetNthChangesOnlyAVectorsLiveValue) {
  CCharacteristic vector(0, CVectorValue::fromText("1 2"));
  EXPECT_TRUE(callFor(&vector, primitiveSetNth, num(0), num(9)).ok);
  EXPECT_EQ(literal(&vector.value()), "[9 2]");
  EXPECT_EQ(literal(&vector.past(0)), "[1 2]");
  CCharacteristic number(0, std::make_unique<CDoubleValue>(4));
  EXPECT_TRUE(callFor(&number, primitiveSetNth, num(0), num(9)).ok);
  EXPECT_EQ(literal(&number.value()), "4");
}

TEST(DirectCall, NamedCharacteristicsStartWithSixEqualSlotsAndDeletingKeepsTheDefault) {
  GnvcflNet net("");
  ASSERT_TRUE(net.ready()) << net.log().text();
  CToken* k = net.token("k");
  for (int i = 1; i <= 6; ++i) ASSERT_TRUE(call(primitiveSetNamed, obj(k), str("s"), num(i)).ok);
  EXPECT_EQ(literal(call(primitiveGetNamed, obj(k), str("s")).result.get()), "6");
  const CCharacteristic* s = k->characteristic("s");
  ASSERT_EQ(s->history(), 5);
  for (int back = 1; back <= 5; ++back) EXPECT_EQ(literal(&s->past(back)), "1") << back;

  CCharacteristic* before = k->defaultCharacteristic();
  EXPECT_TRUE(call(primitiveDelNamed, obj(k), str("Default")).ok);
  EXPECT_EQ(k->defaultCharacteristic(), before);
  EXPECT_EQ(literal(call(primitiveGetChar, num(0), obj(k)).result.get()), "1");
}

TEST(DirectCall, SplitRefusesANewTokenWhenTheTokensTableIsFull) {
  GnvcflNet net("");
  ASSERT_TRUE(net.ready()) << net.log().text();
  CPlace* b = net.place("B");
  NameTable& tokens = net.net().tokensTable();
  while (tokens.count() < NameTable::kTokenCapacity) ASSERT_GE(tokens.define("t" + std::to_string(tokens.count()), b), 0);
  const Outcome outcome = call(primitiveSplit, obj(net.token("k")), str("a"), obj(b));
  EXPECT_EQ(outcome.message(), "split: the tokens table refused the new token a_k (it holds 10000 tokens at most).");
  EXPECT_EQ(b->tokens().count(), 0);
}

TEST(DirectCall, RandomDrawsFromTheNetsOwnGenerator) {
  GnvcflNet net("");
  ASSERT_TRUE(net.ready()) << net.log().text();
  net.net().random().seed(42);
  NetRandom same(42);
  for (double bound : {10.0, -10.9, 1.0, 32768.0, -2147483648.0}) {
    const Outcome outcome = callPrimitive(primitiveRandom, nullptr, PrimitiveContext{&net.net(), nullptr}, num(bound));
    EXPECT_EQ(literal(outcome.result.get()), std::to_string(same.next() % static_cast<long long>(bound))) << bound;
  }
}

double seconds(const Outcome& outcome) {
  const CVectorValue* vector = asVector(outcome.result.get());
  return vector != nullptr && vector->count() == 1 ? asNumber(vector->elementAt(0))->number() : -1.0;
}

// Other tests of this process call the timing built-ins too: only differences are checked here.
TEST(DirectCall, TimedeltaMeasuresFromThePreviousCallAndLifetimeFromItsFirst) {
  call(primitiveTimedelta, str("ignored"));
  const double born = asNumber(call(primitiveLifetime).result.get())->number();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const double second = seconds(call(primitiveTimedelta));
  const double third = seconds(call(primitiveTimedelta));
  EXPECT_GE(second, 0.029);
  EXPECT_LT(third, second);
  EXPECT_GE(asNumber(call(primitiveLifetime).result.get())->number(), born + 0.029);
}

}  // namespace
