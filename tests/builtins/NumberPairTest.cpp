// The two-number forms that evaluation uses in place of a built-in's general
// call: for every pair of numbers each gives, bit for bit, what the built-in
// gives, and declines only pairs the built-in refuses with its own report.
#include "PrimitiveCall.h"

#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(NumberPairForms, GiveWhatTheBuiltInGivesForEveryPairOfNumbers) {
  RecordingLog log;
  CAbstractTransition net;
  net.prepare(&log, "", "", nullptr);
  registerBuiltIns(net);  // fills the built-in table
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double numbers[] = {3.0, -2.5, 0.0, -0.0, 1e308, 49.0, 1e-310, inf, -inf, nan, -nan};
  for (const char* name : {"+", "-", "/", "<", ">", "<=", ">=", "=", "!="}) {
    int arity = 0;
    PrimitiveFunction function = nullptr;
    ASSERT_TRUE(findPrimitive(name, &arity, &function)) << name;
    NumberPairForm form = findNumberPairForm(function);
    ASSERT_NE(form, nullptr) << name;
    for (double a : numbers) {
      for (double b : numbers) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(a) + " " + std::to_string(b));
        Outcome general = callPrimitive(function, nullptr, PrimitiveContext{nullptr, nullptr}, num(a), num(b));
        double result = 0.0;
        if (!form(a, b, &result)) {
          EXPECT_FALSE(general.ok);
          continue;
        }
        ASSERT_TRUE(general.ok);
        const CDoubleValue* number = asNumber(general.result.get());
        ASSERT_NE(number, nullptr);
        EXPECT_TRUE(sameBits(result, number->number())) << result << " " << number->number();
      }
    }
  }
}

}  // namespace
