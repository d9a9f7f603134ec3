// The process-wide state of built-ins (the table: lookup, first registration
// wins, its limits; the timing references) and the runtime error report. This
// binary never calls registerBuiltIns or another timing built-in, so it owns both.
#include "PrimitiveCall.h"

#include "builtins/BuiltinFunctions.h"

namespace {

int first(int, ValueSlot&, CTypedValue* const*, CCharacteristic*, CSimpleInterface&, const PrimitiveContext&) { return 1; }
int later(int, ValueSlot&, CTypedValue* const*, CCharacteristic*, CSimpleInterface&, const PrimitiveContext&) { return 2; }

std::pair<int, PrimitiveFunction> lookUp(std::string_view name) {
  int arity = -99;
  PrimitiveFunction function = nullptr;
  if (!findPrimitive(name, &arity, &function)) return {-99, nullptr};
  return {arity, function};
}

TEST(PrimitiveTable, FindsExactNamesKeepsTheFirstRegistrationAndDropsWhatDoesNotFit) {
  EXPECT_TRUE(registerPrimitive(2, "twice", first));
  EXPECT_TRUE(registerPrimitive(-1, "twice", later));  // stored, never found
  EXPECT_TRUE(registerPrimitive(0, std::string(19, 'n'), first));
  EXPECT_FALSE(registerPrimitive(0, std::string(20, 'n'), first));
  EXPECT_EQ(lookUp("twice"), std::make_pair(2, &first));
  EXPECT_EQ(lookUp(std::string(19, 'n')).second, &first);
  for (const char* absent : {"Twice", "twic", "twice ", "nnnnnnnnnnnnnnnnnnnn"}) EXPECT_EQ(lookUp(absent).second, nullptr);

  int kept = 3;
  while (registerPrimitive(1, "fill" + std::to_string(kept), later)) ++kept;
  EXPECT_EQ(kept, kMaxPrimitives);
  EXPECT_EQ(lookUp("fill" + std::to_string(kMaxPrimitives - 1)), std::make_pair(1, &later));
  EXPECT_EQ(lookUp("fill" + std::to_string(kMaxPrimitives)).second, nullptr);
  EXPECT_EQ(lookUp("twice"), std::make_pair(2, &first));
}

TEST(PrimitiveErrorReport, FramesTheMessageInTheLogAndListsEveryArgumentOnStandardError) {
  auto vector = std::make_unique<CVectorValue>(0);
  vector->append(num(2));
  vector->append(str("c"));
  const Outcome outcome = callPrimitive(
      [](int argc, ValueSlot&, CTypedValue* const* argv, CCharacteristic*, CSimpleInterface& log, const PrimitiveContext&) {
        return reportPrimitiveError(log, "something failed", argc, argv);
      },
      nullptr, PrimitiveContext{nullptr, nullptr}, num(1), str("a b"), std::move(vector), obj(nullptr), ValuePtr(),
      num(0.5));
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.log,
            "\n\n\n----------------------------------Terminated----------------------------------"
            "\n\n***Primitive RunTime error:\n\n\t\tsomething failed\n\n***Arguments to the primitive:\n\n\n");
  EXPECT_EQ(outcome.errors, "\t\t0: 1\n\t\t1: a b\n\t\t2: 2 \"c\"\n\t\t#Object\n\t\t4: <no value>\n\t\t5: 0.5\n\n");
}

TEST(TimingReferences, TheFirstCallsOfTheProcessGiveNearlyZero) {
  const PrimitiveContext none{nullptr, nullptr};
  const Outcome delta = callPrimitive(primitiveTimedelta, nullptr, none);
  const Outcome life = callPrimitive(primitiveLifetime, nullptr, none);
  EXPECT_EQ(literal(delta.result.get()), "[0]");
  ASSERT_NE(asNumber(life.result.get()), nullptr);
  EXPECT_LT(asNumber(life.result.get())->number(), 0.01);
}

}  // namespace
