// The built-ins that work on values alone, called directly: arithmetic,
// comparison, logic, mathematics, sequencing and vectors. Each row gives the
// arguments and either the literal form of the result or the exact message of
// the runtime error.
#include "PrimitiveCall.h"

#include "builtins/BuiltinFunctions.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

struct Row {
  const char* label;
  PrimitiveFunction function;
  std::function<Call()> arguments;
  std::string result;   // literal form of the result, when the call succeeds
  std::string failure;  // the report's message, when it fails
};

Row gives(const char* label, PrimitiveFunction function, std::function<Call()> arguments, std::string result) {
  return Row{label, function, std::move(arguments), std::move(result), ""};
}
Row fails(const char* label, PrimitiveFunction function, std::function<Call()> arguments, std::string message) {
  return Row{label, function, std::move(arguments), "", std::move(message)};
}

void check(const Row& row) {
  SCOPED_TRACE(row.label);
  Call call = row.arguments();
  Outcome outcome = call.run(row.function);
  if (row.failure.empty()) {
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(literal(outcome.result.get()), row.result);
    EXPECT_TRUE(outcome.log.empty());
    EXPECT_EQ(outcome.errors, "");
  } else {
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message(), row.failure);
    EXPECT_EQ(outcome.log.size(), 1u);
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
CBaseObject someObject;
CBaseObject otherObject;

const char* kSameType = "+: only numeric, string or vector arguments of the same type are allowed.";

TEST(Arithmetic, FollowsTheRulesOfAddSubtractMultiplyDivide) {
  const Row rows[] = {
      gives("strings take numbers truncated", primitivePlus, [] { return Call(str("a"), num(1.9), str("b")); }, "\"a1b\""),
      gives("negative number appended", primitivePlus, [] { return Call(str("a"), num(-1.9)); }, "\"a-1\""),
      gives("one number", primitivePlus, [] { return Call(num(5)); }, "5"),
      gives("numbers", primitivePlus, [] { return Call(num(1), num(2), num(3.5)); }, "6.5"),
      gives("vectors over the shorter length", primitivePlus, [] { return Call(vec({1, 2, 3}), vec({10, 20})); },
            "[11 22 3]"),
      fails("number then string", primitivePlus, [] { return Call(num(1), str("a")); }, kSameType),
      fails("string then vector", primitivePlus, [] { return Call(str("a"), vec({1})); }, kSameType),
      fails("missing further value", primitivePlus, [] { return std::move(Call(num(1)).missing()); }, kSameType),
      fails("missing first value", primitivePlus, [] { return std::move(Call().missing()); }, kSameType),
      fails("no argument", primitivePlus, [] { return Call(); },
            "+: at least one numeric, string or vector argument expected."),
      gives("difference", primitiveMinus, [] { return Call(num(5), num(7)); }, "-2"),
      fails("no negation", primitiveMinus, [] { return Call(num(5)); }, "-: two numeric arguments expected"),
      fails("three numbers", primitiveMinus, [] { return Call(num(5), num(1), num(1)); },
            "-: two numeric arguments expected"),
      fails("string operand", primitiveMinus, [] { return Call(num(5), str("1")); }, "-: two numeric arguments expected"),
      gives("one factor", primitiveTimes, [] { return Call(num(3)); }, "3"),
      gives("product", primitiveTimes, [] { return Call(num(2), num(3), num(4)); }, "24"),
      fails("string factor", primitiveTimes, [] { return Call(num(2), str("a")); }, "*: only numeric arguments are allowed."),
      fails("no factor", primitiveTimes, [] { return Call(); }, "*: at least one numeric argument expected."),
      gives("quotient", primitiveDivide, [] { return Call(num(6), num(4)); }, "1.5"),
      fails("by zero", primitiveDivide, [] { return Call(num(1), num(0)); }, "/: Division by zero!"),
      fails("by minus zero", primitiveDivide, [] { return Call(num(1), num(-0.0)); }, "/: Division by zero!"),
      fails("one operand", primitiveDivide, [] { return Call(num(1)); }, "/: two numeric arguments expected"),
  };
  for (const Row& row : rows) check(row);
}

TEST(Arithmetic, DivisionMultipliesByTheReciprocal) {
  Outcome outcome = Call(num(49), num(49)).run(primitiveDivide);
  EXPECT_EQ(outcome.number(), 49.0 * (1.0 / 49.0));  // 0.9999999999999999, not 1
  EXPECT_NE(outcome.number(), 1.0);
}

TEST(Arithmetic, ObjectsAddToACopyOfTheFirst) {
  Outcome outcome = Call(obj(&someObject), obj(&otherObject)).run(primitivePlus);
  ASSERT_TRUE(outcome.ok);
  const CObjectValue* sum = asObject(outcome.result.get());
  ASSERT_NE(sum, nullptr);
  EXPECT_EQ(sum->target(), &someObject);
}

TEST(Arithmetic, AFailedDivisionListsItsArgumentsOnStandardError) {
  Outcome outcome = Call(num(1), num(0)).run(primitiveDivide);
  EXPECT_EQ(outcome.errors, "\t\t0: 1\n\t\t1: 0\n\n");
}

TEST(Comparison, ComparesWithinATypeAndNeverAcrossTypes) {
  const Row rows[] = {
      gives("equal numbers", primitiveEqual, [] { return Call(num(1), num(1)); }, "1"),
      gives("number and its text", primitiveEqual, [] { return Call(num(1), str("1")); }, "0"),
      gives("equal vectors", primitiveEqual, [] { return Call(vec({1, 2}), vec({1, 2})); }, "1"),
      gives("same object", primitiveEqual, [] { return Call(obj(&someObject), obj(&someObject)); }, "0"),
      gives("two missing values", primitiveEqual, [] { return std::move(Call().missing().missing()); }, "0"),
      gives("not equal without arguments", primitiveNotEqual, [] { return Call(); }, "1"),
      gives("not equal with one", primitiveNotEqual, [] { return Call(num(1)); }, "0"),
      gives("not equal, some neighbours differ", primitiveNotEqual, [] { return Call(num(1), num(1), num(2)); }, "1"),
      gives("not equal, all the same", primitiveNotEqual, [] { return Call(num(1), num(1), num(1)); }, "0"),
      gives("not equal, objects", primitiveNotEqual, [] { return Call(obj(&someObject), obj(&otherObject)); }, "0"),
      gives("less, number and string", primitiveLess, [] { return Call(num(1), str("a")); }, "1"),
      gives("less, string and number", primitiveLess, [] { return Call(str("a"), num(1)); }, "1"),
      gives("less, equal numbers", primitiveLess, [] { return Call(num(2), num(2)); }, "0"),
      gives("less, strings", primitiveLess, [] { return Call(str("ab"), str("abc")); }, "1"),
      fails("less, one argument", primitiveLess, [] { return Call(num(1)); }, "<: two arguments expected."),
      fails("less, missing value", primitiveLess, [] { return std::move(Call(num(1)).missing()); },
            "<: two arguments expected."),
      gives("greater, number and string", primitiveGreater, [] { return Call(num(1), str("a")); }, "0"),
      gives("greater, numbers", primitiveGreater, [] { return Call(num(3), num(2)); }, "1"),
      fails("greater, three", primitiveGreater, [] { return Call(num(3), num(2), num(1)); }, ">: two arguments expected."),
      gives("less or equal, equal", primitiveLessEqual, [] { return Call(num(2), num(2)); }, "1"),
      gives("less or equal, greater", primitiveLessEqual, [] { return Call(num(3), num(2)); }, "0"),
      gives("less or equal, across types", primitiveLessEqual, [] { return Call(str("a"), num(1)); }, "1"),
      fails("less or equal, missing", primitiveLessEqual, [] { return std::move(Call().missing().missing()); },
            "<=: two values expected."),
      gives("greater or equal, strings", primitiveGreaterEqual, [] { return Call(str("b"), str("a")); }, "1"),
      gives("greater or equal, equal", primitiveGreaterEqual, [] { return Call(num(2), num(2)); }, "1"),
      gives("greater or equal, across types", primitiveGreaterEqual, [] { return Call(num(1), str("a")); }, "0"),
      fails("greater or equal, missing", primitiveGreaterEqual, [] { return std::move(Call(num(1)).missing()); },
            ">=: two values expected."),
      gives("not zero", primitiveNot, [] { return Call(num(0)); }, "1"),
      gives("not minus zero", primitiveNot, [] { return Call(num(-0.0)); }, "1"),
      gives("not one", primitiveNot, [] { return Call(num(1)); }, "0"),
      gives("not empty string", primitiveNot, [] { return Call(str("")); }, "0"),
      gives("not NaN", primitiveNot, [] { return Call(num(kNaN)); }, "0"),
      gives("not a missing value", primitiveNot, [] { return std::move(Call().missing()); }, "0"),
      fails("not two", primitiveNot, [] { return Call(num(1), num(2)); }, "not: one argument expected."),
      fails("not nothing", primitiveNot, [] { return Call(); }, "not: one argument expected."),
  };
  for (const Row& row : rows) check(row);
}

TEST(Mathematics, ComputesFunctionsOfNumbersAndRefusesOtherValues) {
  const Row rows[] = {
      gives("abs", primitiveAbs, [] { return Call(num(-3)); }, "3"),
      fails("abs of a string", primitiveAbs, [] { return Call(str("3")); }, "abs: One numeric argument expected"),
      gives("sqr", primitiveSqr, [] { return Call(num(-3)); }, "9"),
      fails("sqr of a vector", primitiveSqr, [] { return Call(vec({3})); }, "sqr: one numeric argument expected."),
      gives("sqrt", primitiveSqrt, [] { return Call(num(9)); }, "3"),
      gives("sqrt of minus zero", primitiveSqrt, [] { return Call(num(-0.0)); }, "-0"),
      fails("sqrt of a negative", primitiveSqrt, [] { return Call(num(-1)); },
            "sqrt: cannot take square root from a negative number."),
      fails("sqrt of a string", primitiveSqrt, [] { return Call(str("a")); }, "sqrt: one numeric argument expected."),
      gives("atan", primitiveAtan, [] { return Call(num(1)); }, "0.785398"),
      fails("atan of nothing", primitiveAtan, [] { return Call(); }, "atan: one numeric argument expected."),
      gives("exp", primitiveExp, [] { return Call(num(1)); }, "2.71828"),
      fails("exp of a string", primitiveExp, [] { return Call(str("a")); }, "exp: one numeric argument expected."),
      gives("log", primitiveLog, [] { return Call(num(1)); }, "0"),
      gives("log of zero", primitiveLog, [] { return Call(num(0)); }, "-inf"),
      fails("log of a string", primitiveLog, [] { return Call(str("a")); }, "ln: one numeric argument expected."),
      gives("round half up", primitiveRound, [] { return Call(num(2.5)); }, "3"),
      gives("round negative half up", primitiveRound, [] { return Call(num(-2.5)); }, "-2"),
      gives("round down", primitiveRound, [] { return Call(num(-2.6)); }, "-3"),
      gives("round below half", primitiveRound, [] { return Call(num(2.4)); }, "2"),
      fails("round of a string", primitiveRound, [] { return Call(str("a")); }, "round: One numeric argument expected"),
      gives("pow", primitivePow, [] { return Call(num(2), num(10)); }, "1024"),
      gives("pow to a half", primitivePow, [] { return Call(num(2), num(0.5)); }, "1.41421"),
      fails("pow of a string", primitivePow, [] { return Call(str("2"), num(1)); }, "power: two numeric arguments expected"),
      gives("remainder truncates", primitiveRemainder, [] { return Call(num(7.9), num(2.1)); }, "1"),
      gives("remainder of a negative dividend", primitiveRemainder, [] { return Call(num(-7), num(2)); }, "-1"),
      gives("remainder of a negative divisor", primitiveRemainder, [] { return Call(num(7), num(-2)); }, "1"),
      // The lowest 32-bit integer divided by -1 overflows a 32-bit division.
      gives("remainder of the lowest integer by -1", primitiveRemainder,
            [] { return Call(num(-2147483648.0), num(-1)); }, "0"),
      fails("remainder by a divisor truncating to 0", primitiveRemainder, [] { return Call(num(5), num(0.5)); },
            "remainder: the second argument truncates to 0; no remainder exists."),
      fails("remainder of a string", primitiveRemainder, [] { return Call(num(5), str("2")); },
            "remainder: two numeric arguments expected"),
  };
  for (const Row& row : rows) check(row);
}

TEST(Sequencing, BeginGivesACopyOfItsLastArgumentAndMathEvalNothing) {
  const Row rows[] = {
      gives("begin", primitiveBegin, [] { return Call(num(1), num(2), vec({3, 4})); }, "[3 4]"),
      gives("begin ending without a value", primitiveBegin, [] { return std::move(Call(num(1)).missing()); }, "<none>"),
      fails("begin of nothing", primitiveBegin, [] { return Call(); },
            "begin: at least one argument expected; there is no last value to give."),
      gives("MathEval", primitiveMathEval, [] { return Call(num(1), str("x")); }, "<none>"),
      gives("concat joins nothing", primitiveConcat, [] { return Call(str("a"), str("b")); }, "1"),
  };
  for (const Row& row : rows) check(row);
}

TEST(Vectors, ReadLengthsAndElements) {
  const Row rows[] = {
      gives("length", primitiveGetLen, [] { return Call(vec({1, 2, 3})); }, "3"),
      gives("length of empty", primitiveGetLen, [] { return Call(vec({})); }, "0"),
      fails("length of a string", primitiveGetLen, [] { return Call(str("abc")); }, "get-len: invalid arguments."),
      gives("first element", primitiveGetNth, [] { return Call(num(0), vec({5, 6})); }, "5"),
      gives("index truncated", primitiveGetNth, [] { return Call(num(1.9), vec({5, 6})); }, "6"),
      gives("negative half truncates to 0", primitiveGetNth, [] { return Call(num(-0.5), vec({5, 6})); }, "5"),
      fails("past the end", primitiveGetNth, [] { return Call(num(2), vec({5, 6})); },
            "Vector index is out of bounds in call to GetNth."),
      fails("negative index", primitiveGetNth, [] { return Call(num(-1), vec({5, 6})); },
            "Vector index is out of bounds in call to GetNth."),
      fails("arguments swapped", primitiveGetNth, [] { return Call(vec({5, 6}), num(0)); }, "GetNth: invalid arguments."),
      fails("set into a number", primitiveSetNth, [] { return Call(num(0), num(9), num(5)); }, "SetNth: invalid arguments."),
      fails("set with one argument", primitiveSetNth, [] { return Call(num(0)); }, "SetNth: invalid arguments."),
      fails("set with four arguments", primitiveSetNth, [] { return Call(num(0), num(9), vec({1}), num(1)); },
            "SetNth: invalid arguments."),
      fails("set for no characteristic", primitiveSetNth, [] { return Call(num(0), num(9)); },
            "SetNth: invalid arguments."),
      fails("set a missing value", primitiveSetNth, [] { return std::move(Call(num(0)).missing().argument(vec({1}))); },
            "SetNth: invalid arguments."),
  };
  for (const Row& row : rows) check(row);
}

TEST(Vectors, GetNthCopiesDeeply) {
  Call call(num(0), vecOf(vec({1, 2}), num(3)));
  Outcome outcome = call.run(primitiveGetNth);
  ASSERT_TRUE(outcome.ok);
  outcome.result->setNth(0, CDoubleValue(99));
  EXPECT_EQ(literal(outcome.result.get()), "[99 2]");
  EXPECT_EQ(literal(call.at(1)), "[[1 2] 3]");
}

TEST(Vectors, SetNthChangesTheVectorArgumentInPlace) {
  Call call(num(1), num(9), vec({1, 2, 3}));
  Outcome outcome = call.run(primitiveSetNth);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.result, nullptr);
  EXPECT_EQ(literal(call.at(2)), "[1 9 3]");
}

TEST(Vectors, SetNthOutsideTheVectorChangesNothingAndSucceeds) {
  for (double index : {5.0, -1.0, 3.0}) {
    Call call(num(index), num(9), vec({1, 2, 3}));
    EXPECT_TRUE(call.run(primitiveSetNth).ok) << index;
    EXPECT_EQ(literal(call.at(2)), "[1 2 3]") << index;
  }
}

// Regression: storing a vector into itself must copy it before it changes.
TEST(Vectors, SetNthOfAVectorIntoItselfStoresItsFormerContents) {
  Call call(num(0), nullptr, nullptr);
  ValuePtr vector = vec({1, 2});
  CTypedValue* raw[] = {call.at(0), vector.get(), vector.get()};
  RecordingLog log;
  ValuePtr result;
  ASSERT_NE(primitiveSetNth(3, result, raw, nullptr, log, PrimitiveContext{nullptr, nullptr}), 0);
  EXPECT_EQ(literal(vector.get()), "[[1 2] 2]");
}

}  // namespace
