// The timing built-ins on the process-wide monotonic references.
#include "PrimitiveCall.h"

#include "builtins/BuiltinFunctions.h"

#include <chrono>
#include <thread>

namespace {

double secondsOf(const Outcome& outcome) {
  const CVectorValue* vector = asVector(outcome.result.get());
  EXPECT_NE(vector, nullptr);
  if (vector == nullptr || vector->count() != 1) return -1.0;
  return asNumber(vector->elementAt(0))->number();
}

TEST(Timing, TimedeltaGivesTheSecondsSinceThePreviousCall) {
  const double first = secondsOf(Call(str("ignored")).run(primitiveTimedelta));
  EXPECT_GE(first, 0.0);
  EXPECT_LT(first, 0.05);  // the first call of the process gives nearly 0
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const double second = secondsOf(Call().run(primitiveTimedelta));
  EXPECT_GE(second, 0.029);
  EXPECT_LT(second, 1.0);
  const double third = secondsOf(Call().run(primitiveTimedelta));
  EXPECT_LT(third, second);  // the reference moved on at the second call
}

TEST(Timing, LifetimeCountsFromItsOwnFirstCall) {
  const double first = Call().run(primitiveLifetime).number();
  EXPECT_GE(first, 0.0);
  EXPECT_LT(first, 0.05);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const double later = Call().run(primitiveLifetime).number();
  EXPECT_GE(later, first + 0.029);
}

}  // namespace
