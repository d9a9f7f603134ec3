// The operation table of values: assign, add, multiply, equals, greater,
// clone and element access across the four value classes.
#include "lang/Value.h"

#include "base/SanitizerBuild.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

ValuePtr number(double n) { return std::make_unique<CDoubleValue>(n); }
ValuePtr text(const char* t) { return std::make_unique<CStringValue>(t); }

// A vector of the given values (taken).
ValuePtr vectorOf(std::vector<ValuePtr> items) {
  auto vector = std::make_unique<CVectorValue>(static_cast<int>(items.size()));
  for (int i = 0; i < static_cast<int>(items.size()); ++i) vector->adoptNth(i, items[static_cast<std::size_t>(i)]);
  return vector;
}

ValuePtr numbers(std::initializer_list<double> ns) {
  std::vector<double> copy(ns);
  return std::make_unique<CVectorValue>(copy.data(), static_cast<int>(copy.size()));
}

TEST(ValueAdd, StringAddsTruncatedNumberAndIgnoresOtherTypes) {
  struct Row {
    const char* name;
    ValuePtr addend;
    const char* expected;
  };
  Row rows[] = {{"positive number truncates", number(2.9), "x2"},
                {"negative number truncates toward zero", number(-2.9), "x-2"},
                {"string appends", text("yz"), "xyz"},
                {"vector leaves it", numbers({1}), "x"},
                {"object leaves it", std::make_unique<CObjectValue>(), "x"}};
  for (Row& row : rows) {
    CStringValue value("x");
    value.add(*row.addend);
    EXPECT_EQ(value.text(), row.expected) << row.name;
  }
}

TEST(ValueAdd, NumberIgnoresNonNumbers) {
  CDoubleValue value(4);
  value.add(CStringValue("7"));
  value.add(*numbers({1, 2}));
  EXPECT_EQ(value.number(), 4);
  value.add(CDoubleValue(0.5));
  EXPECT_EQ(value.number(), 4.5);
  value.multiply(CDoubleValue(2));
  EXPECT_EQ(value.number(), 9);
  value.multiply(CStringValue("3"));
  EXPECT_EQ(value.number(), 9);
}

TEST(ValueAdd, VectorsAddElementwiseOverTheShorterCount) {
  ValuePtr sum = numbers({1, 2, 3});
  sum->add(*numbers({10, 20}));
  EXPECT_EQ(textOf(*sum), "11 22 3");

  std::vector<ValuePtr> left;
  left.push_back(text("a"));
  left.push_back(number(1));
  std::vector<ValuePtr> right;
  right.push_back(text("b"));
  right.push_back(number(2));
  ValuePtr mixed = vectorOf(std::move(left));
  mixed->add(*vectorOf(std::move(right)));
  EXPECT_EQ(textOf(*mixed), "\"ab\" 3");
}

TEST(ValueAdd, VectorAddedToItselfDoublesEachElement) {
  ValuePtr vector = numbers({1, 2});
  vector->add(*vector);
  EXPECT_EQ(textOf(*vector), "2 4");
}

TEST(ValueAssign, KeepsOwnTypeExceptObjectValues) {
  CStringValue textValue("old");
  textValue.assign(CDoubleValue(3));
  EXPECT_EQ(textValue.text(), "old");
  textValue.assign(CStringValue("new"));
  EXPECT_EQ(textValue.text(), "new");

  CDoubleValue target;
  CObjectValue object(&target);
  object.assign(CDoubleValue(3));
  EXPECT_EQ(object.target(), nullptr);
  object.assign(CObjectValue(&target));
  EXPECT_EQ(object.target(), &target);

  ValuePtr vector = numbers({1, 2, 3});
  vector->assign(*numbers({7}));
  EXPECT_EQ(textOf(*vector), "7");
  vector->assign(*vector);
  EXPECT_EQ(textOf(*vector), "7");
}

TEST(ValueCompare, GreaterAndEqualsByType) {
  struct Row {
    const char* name;
    ValuePtr left;
    ValuePtr right;
    bool greater;
    bool equals;
  };
  Row rows[] = {
      {"longer text sorts after its prefix", text("abc"), text("ab"), true, false},
      {"equal texts", text("ab"), text("ab"), false, true},
      {"bytes above 127 sort after ASCII", text("\xE9"), text("z"), true, false},
      {"numbers", number(2), number(1), true, false},
      {"number against string", number(2), text("1"), false, false},
      {"empty vectors are both", numbers({}), numbers({}), true, true},
      {"vector needs every element greater", numbers({3, 1}), numbers({2, 0}), true, false},
      {"vector with one element not greater", numbers({3, 0}), numbers({2, 0}), false, false},
      {"vectors of different counts", numbers({3}), numbers({2, 1}), false, false},
      {"equal vectors", numbers({1, 2}), numbers({1, 2}), false, true},
  };
  for (Row& row : rows) {
    EXPECT_EQ(row.left->greater(*row.right), row.greater) << row.name;
    EXPECT_EQ(row.left->equals(*row.right), row.equals) << row.name;
  }
}

TEST(ValueCompare, ObjectValuesEqualOnSameTargetAndAreNeverGreater) {
  CDoubleValue a, b;
  EXPECT_TRUE(CObjectValue(&a).equals(CObjectValue(&a)));
  EXPECT_FALSE(CObjectValue(&a).equals(CObjectValue(&b)));
  EXPECT_FALSE(CObjectValue(&a).greater(CObjectValue(nullptr)));
}

TEST(ValueClone, DeepForVectorsShallowForObjects) {
  ValuePtr original = numbers({1, 2});
  ValuePtr copy = original->clone();
  copy->add(*numbers({5, 5}));
  EXPECT_EQ(textOf(*original), "1 2");
  EXPECT_EQ(textOf(*copy), "6 7");

  CDoubleValue target(1);
  ValuePtr reference = CObjectValue(&target).clone();
  EXPECT_EQ(asObject(reference.get())->target(), &target);
}

TEST(ValueElements, AccessOutsideTheVectorFailsAndClearsOut) {
  ValuePtr vector = numbers({1, 2});
  CTypedValue* out = vector.get();
  EXPECT_FALSE(vector->getNth(-1, out));
  EXPECT_EQ(out, nullptr);
  out = vector.get();
  EXPECT_FALSE(vector->getNth(2, out));
  EXPECT_EQ(out, nullptr);
  ASSERT_TRUE(vector->getNth(1, out));
  EXPECT_EQ(asNumber(out)->number(), 2);

  ValuePtr element = number(9);
  EXPECT_FALSE(vector->adoptNth(2, element));
  ASSERT_NE(element, nullptr) << "a refused element stays the caller's";
  EXPECT_TRUE(vector->adoptNth(0, element));
  EXPECT_EQ(element, nullptr);
  EXPECT_TRUE(vector->setNth(1, CStringValue("s")));
  EXPECT_EQ(textOf(*vector), "9 \"s\"");

  CDoubleValue scalar(1);
  ValuePtr other = number(2);
  EXPECT_FALSE(scalar.adoptNth(0, other));
  EXPECT_FALSE(scalar.setNth(0, *other));
}

TEST(ValueViews, TypedViewsAndKinds) {
  CDoubleValue n;
  CStringValue s("a");
  EXPECT_EQ(asNumber(&n), &n);
  EXPECT_EQ(asNumber(&s), nullptr);
  EXPECT_EQ(asString(static_cast<CTypedValue*>(nullptr)), nullptr);
  EXPECT_STREQ(n.typeName(), "double");
  EXPECT_STREQ(s.typeName(), "string");
  EXPECT_EQ(numbers({})->typeCode(), kTypeVector);
  EXPECT_EQ(n.kind(), kKindDefault);

  CFilePtr file(nullptr);
  CObjectValue fileReference(&file);
  EXPECT_EQ(objectOfKind(&fileReference, kKindFile), &file);
  EXPECT_EQ(objectOfKind(&fileReference, kKindPlace), nullptr);
  EXPECT_EQ(objectOfKind(&n, kKindFile), nullptr);
}

// Every way a value grows keeps the limits: at the limit it grows, one past
// it the operation refuses and the value stays as it was.
TEST(ValueLimits, GrowthPastALimitIsRefusedAndChangesNothing) {
  const std::size_t longest = kMaxValueSize - kValueCost;  // characters a string may hold
  const auto nested = [](int depth) {
    return CVectorValue::fromText(std::string(depth - 1, '[') + std::string(depth - 1, ']'));
  };
  struct Row {
    const char* name;
    std::function<ValuePtr()> make;
    std::function<bool(CTypedValue&)> grow;
    bool grows;
  };
  const Row rows[] = {
      {"string add to the limit", [&] { return text(std::string(longest - 1, 'a').c_str()); },
       [](CTypedValue& v) { return v.add(CStringValue("b")); }, true},
      {"string add one past", [&] { return text(std::string(longest - 1, 'a').c_str()); },
       [](CTypedValue& v) { return v.add(CStringValue("bc")); }, false},
      {"string add of a number's digits past", [&] { return text(std::string(longest - 1, 'a').c_str()); },
       [](CTypedValue& v) { return v.add(CDoubleValue(12)); }, false},
      {"vector add growing its strings past",
       [&] {
         std::vector<ValuePtr> items;
         items.push_back(text(std::string(longest / 2, 'a').c_str()));
         return vectorOf(std::move(items));
       },
       [](CTypedValue& v) { ValuePtr copy = v.clone(); return v.add(*copy); }, false},
      {"vector added to itself within", [] { return numbers({1, 2}); }, [](CTypedValue& v) { return v.add(v); }, true},
      {"setNth nesting to the limit", [&] { return numbers({1}); },
       [&](CTypedValue& v) { return v.setNth(0, *nested(kMaxVectorDepth - 1)); }, true},
      {"setNth nesting one deeper", [&] { return numbers({1}); },
       [&](CTypedValue& v) { return v.setNth(0, *nested(kMaxVectorDepth)); }, false},
      {"setNth of a string past the size", [] { return numbers({1, 2}); },
       [&](CTypedValue& v) { return v.setNth(0, CStringValue(std::string(longest - kValueCost, 'a'))); }, false},
      {"append past the count",
       [] { return CVectorValue::fromText("nx" + std::to_string(CVectorValue::kMaxCount) + " 1"); },
       [](CTypedValue& v) { return static_cast<CVectorValue&>(v).append(number(1)); }, false},
  };
  for (const Row& row : rows) {
    ValuePtr value = row.make();
    const std::size_t before = value->size();
    EXPECT_EQ(row.grow(*value), row.grows) << row.name;
    EXPECT_LE(value->size(), kMaxValueSize) << row.name;
    if (!row.grows) {
      EXPECT_EQ(value->size(), before) << row.name;
    }
  }
}

TEST(ValueNumbers, TruncationIsTowardZeroAndDefinedOutsideTheRange) {
  EXPECT_EQ(truncateToInt(2.9), 2);
  EXPECT_EQ(truncateToInt(-2.9), -2);
  EXPECT_EQ(truncateToInt(1e300), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(truncateToInt(std::numeric_limits<double>::quiet_NaN()), std::numeric_limits<std::int32_t>::min());
}

TEST(ValueNumbers, FreedNumbersAreReusedWithoutMixingValues) {
  std::vector<ValuePtr> made;
  for (int i = 0; i < 100; ++i) made.push_back(number(i));
  made.clear();
  for (int i = 0; i < 100; ++i) made.push_back(number(i * 2));
  for (int i = 0; i < 100; ++i) EXPECT_EQ(asNumber(made[static_cast<std::size_t>(i)].get())->number(), i * 2);

  ValuePtr first = number(1);
  const void* block = first.get();
  first.reset();
  ValuePtr second = number(2);
  // Under the address sanitizer the free list steps aside.
  if (!kAddressSanitizerBuild) {
    EXPECT_EQ(second.get(), block) << "a freed number's block is the next one handed out";
  }
}

}  // namespace
