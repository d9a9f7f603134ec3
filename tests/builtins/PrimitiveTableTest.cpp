// The built-in table (registration, lookup, limits) and the runtime error
// report. This binary never calls registerBuiltIns, so it owns the whole table.
#include "PrimitiveCall.h"

#include "builtins/Primitive.h"

#include <string>

namespace {

int accepted = 0;  // registrations this binary made that the table kept

bool registerCounted(int arity, std::string_view name, PrimitiveFunction function) {
  const bool kept = registerPrimitive(arity, name, function);
  if (kept) ++accepted;
  return kept;
}

int first(int, ValuePtr&, CTypedValue* const*, CCharacteristic*, CSimpleInterface&, const PrimitiveContext&) { return 1; }
int second(int, ValuePtr&, CTypedValue* const*, CCharacteristic*, CSimpleInterface&, const PrimitiveContext&) { return 2; }

TEST(PrimitiveTable, FindsByExactNameAndTheFirstRegistrationWins) {
  ASSERT_TRUE(registerCounted(2, "twice", first));
  ASSERT_TRUE(registerCounted(-1, "twice", second));  // kept in the table, never found
  int arity = 99;
  PrimitiveFunction function = nullptr;
  ASSERT_TRUE(findPrimitive("twice", &arity, &function));
  EXPECT_EQ(arity, 2);
  EXPECT_EQ(function, &first);
  EXPECT_FALSE(findPrimitive("Twice", &arity, &function));
  EXPECT_FALSE(findPrimitive("twic", &arity, &function));
  EXPECT_FALSE(findPrimitive("twice ", &arity, &function));
}

TEST(PrimitiveTable, NamesOfNineteenCharactersFitAndLongerOnesAreRefused) {
  const std::string nineteen(19, 'n');
  const std::string twenty(20, 't');
  EXPECT_TRUE(registerCounted(0, nineteen, first));
  EXPECT_FALSE(registerCounted(0, twenty, first));
  int arity = 0;
  PrimitiveFunction function = nullptr;
  EXPECT_TRUE(findPrimitive(nineteen, &arity, &function));
  EXPECT_FALSE(findPrimitive(twenty, &arity, &function));
}

TEST(PrimitiveTable, HoldsOneHundredEntriesAndDropsTheRestWithoutDisturbingLookups) {
  int kept = 0;
  std::string last;
  for (int i = 0; i < 150; ++i) {
    const std::string name = "fill" + std::to_string(i);
    if (!registerCounted(1, name, second)) break;
    ++kept;
    last = name;
  }
  EXPECT_EQ(accepted, kMaxPrimitives);
  EXPECT_GT(kept, 0);
  EXPECT_FALSE(registerCounted(1, "latecomer", first));
  int arity = 0;
  PrimitiveFunction function = nullptr;
  EXPECT_FALSE(findPrimitive("latecomer", &arity, &function));
  ASSERT_TRUE(findPrimitive(last, &arity, &function));
  EXPECT_EQ(function, &second);
  ASSERT_TRUE(findPrimitive("twice", &arity, &function));
  EXPECT_EQ(function, &first);
}

TEST(PrimitiveErrorReport, WritesTheFramedMessageToTheLogAndTheArgumentsToStandardError) {
  ValuePtr values[] = {num(1), str("a b"), vecOf(num(2), str("c")), std::make_unique<CObjectValue>(nullptr), nullptr,
                       num(0.5)};
  CTypedValue* argv[] = {values[0].get(), values[1].get(), values[2].get(), values[3].get(), nullptr, values[5].get()};
  RecordingLog log;
  testing::internal::CaptureStderr();
  const int returned = reportPrimitiveError(log, "something failed", 6, argv);
  const std::string errors = testing::internal::GetCapturedStderr();

  EXPECT_EQ(returned, 0);
  ASSERT_EQ(log.messages().size(), 1u);
  EXPECT_EQ(log.messages()[0],
            "\n\n\n----------------------------------Terminated----------------------------------"
            "\n\n***Primitive RunTime error:\n\n\t\tsomething failed\n\n***Arguments to the primitive:\n\n");
  EXPECT_EQ(errors,
            "\t\t0: 1\n"
            "\t\t1: a b\n"
            "\t\t2: 2 \"c\"\n"
            "\t\t#Object\n"
            "\t\t4: <no value>\n"
            "\t\t5: 0.5\n"
            "\n");
}

TEST(PrimitiveErrorReport, WithoutArgumentsStandardErrorGetsOneEmptyLine) {
  RecordingLog log;
  testing::internal::CaptureStderr();
  reportPrimitiveError(log, "m", 0, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\n");
  ASSERT_EQ(log.messages().size(), 1u);
  EXPECT_NE(log.messages()[0].find("\t\tm\n\n***Arguments"), std::string::npos);
}

}  // namespace
