// split: the new token's name, characteristics, place, entry and entrance
// event, and every refusal, including the name and table limits.
#include "NetFixture.h"

#include "builtins/BuiltinFunctions.h"

namespace {

using Split = NetFixture;

TEST_F(Split, MakesANamedTokenInThePlaceAndReportsItsEntrance) {
  CPlace* from = place("A");
  CPlace* into = place("P");
  CToken* source = token("t1", 3);
  put(source, from);
  Outcome outcome = Call(obj(source), str("a"), obj(into), str("Default"), num(7)).context(&net_).run(primitiveSplit);

  ASSERT_TRUE(outcome.ok) << outcome.message();
  EXPECT_EQ(literal(outcome.result.get()), "1");
  ASSERT_EQ(entries(into).size(), 1u);
  const CTokenEntry* entry = entries(into)[0];
  EXPECT_TRUE(entry->present());
  EXPECT_EQ(entry->stamp(), 0);
  CToken* made = entry->token();
  EXPECT_EQ(net_.tokenName(made), "a_t1");
  EXPECT_EQ(made->host(), into);
  EXPECT_EQ(made->entering(), net_.time());
  EXPECT_EQ(made->priority(), 0);
  ASSERT_NE(made->defaultCharacteristic(), nullptr);
  EXPECT_EQ(literal(&made->defaultCharacteristic()->value()), "7");
  EXPECT_EQ(made->defaultCharacteristic()->history(), 5);
  ASSERT_EQ(events_.entered.size(), 1u);
  EXPECT_EQ(events_.entered[0].token, made);
  EXPECT_EQ(events_.entered[0].place, into);
  // The source token stays where it was, unchanged.
  EXPECT_EQ(entries(from).size(), 1u);
  EXPECT_EQ(source->host(), from);
  EXPECT_EQ(literal(&source->defaultCharacteristic()->value()), "3");
}

TEST_F(Split, LaterPairsReplaceEarlierOnesAndTheDefaultFollowsTheNameRule) {
  CPlace* into = place("P");
  CToken* source = token("t1");
  Call call(obj(source), str("b"), obj(into), str("z"), num(1), str("m"), str("text"), str("z"), vec({2, 3}));
  ASSERT_TRUE(call.run(primitiveSplit).ok);
  CToken* made = entries(into)[0]->token();
  ASSERT_EQ(made->characteristics().size(), 2u);
  EXPECT_EQ(made->defaultCharacteristic(), made->characteristic("m"));
  EXPECT_EQ(literal(&made->characteristic("z")->value()), "[2 3]");
}

TEST_F(Split, ATokenWithoutNameGivesTheNotFoundSuffix) {
  CPlace* into = place("P");
  CToken* unnamed = net_.adoptToken(std::make_unique<CToken>(net_));
  ASSERT_TRUE(Call(obj(unnamed), str("s"), obj(into)).run(primitiveSplit).ok);
  CToken* made = entries(into)[0]->token();
  EXPECT_EQ(net_.tokenName(made), "s_NotFound");
  EXPECT_EQ(made->defaultCharacteristic(), nullptr);
}

TEST_F(Split, RefusesArgumentsInTheOrderOfItsRules) {
  CPlace* into = place("P");
  CToken* t = token("t1");
  struct Row {
    const char* label;
    std::function<Call()> arguments;
    const char* message;
  };
  const char* kCount = "invalid number of arguments to split: an odd number of arguments expected";
  const Row rows[] = {
      {"two arguments", [&] { return Call(obj(t), str("a")); }, kCount},
      {"four arguments", [&] { return Call(obj(t), str("a"), obj(into), str("x")); }, kCount},
      {"place first", [&] { return Call(obj(into), num(1), num(2)); },
       "invalid arguments to split: the first argument of split must be a token object"},
      {"number as suffix", [&] { return Call(obj(t), num(1), num(2)); },
       "invalid arguments to split: the second argument of split must be a string"},
      {"token as place", [&] { return Call(obj(t), str("a"), obj(t)); },
       "invalid arguments to split: the third argument of split must be a place object"},
      {"number as a pair's name", [&] { return Call(obj(t), str("a"), obj(into), num(1), num(2)); },
       "Invalid odd argument to split. String expected."},
      {"pair without a value", [&] { return std::move(Call(obj(t), str("a"), obj(into), str("x")).missing()); },
       "split: a characteristic's value is missing (its expression gave no value)."},
  };
  for (const Row& row : rows) {
    Outcome outcome = row.arguments().run(primitiveSplit);
    EXPECT_FALSE(outcome.ok) << row.label;
    EXPECT_EQ(outcome.message(), row.message) << row.label;
  }
  EXPECT_TRUE(entries(into).empty());
  EXPECT_TRUE(events_.entered.empty());
}

TEST_F(Split, RefusesANameLongerThanTheTokensTableHolds) {
  CPlace* into = place("P");
  CToken* t = token("t1");
  const std::string fits(48, 'f');   // 48 + "_t1" = 51 characters
  const std::string tooLong(49, 'l');
  ASSERT_TRUE(Call(obj(t), str(fits), obj(into)).run(primitiveSplit).ok);
  EXPECT_EQ(net_.tokenName(entries(into)[0]->token()), fits + "_t1");
  Outcome outcome = Call(obj(t), str(tooLong), obj(into)).run(primitiveSplit);
  EXPECT_EQ(outcome.message(),
            "split: the new token's name is longer than 51 characters and is refused: " + tooLong + "_t1");
  EXPECT_EQ(entries(into).size(), 1u);
  EXPECT_FALSE(net_.tokensTable().contains(tooLong + "_t1"));
}

TEST_F(Split, RefusesANewTokenWhenTheTokensTableIsFull) {
  CPlace* into = place("P");
  CToken* t = token("t1");
  for (int i = net_.tokensTable().count(); i < NameTable::kTokenCapacity; ++i) {
    ASSERT_GE(net_.tokensTable().define("filler" + std::to_string(i), into), 0);
  }
  Outcome outcome = Call(obj(t), str("a"), obj(into)).run(primitiveSplit);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.message(), "split: the tokens table refused the new token a_t1 (it holds 10000 tokens at most).");
  EXPECT_TRUE(entries(into).empty());
  EXPECT_TRUE(events_.entered.empty());
}

}  // namespace
