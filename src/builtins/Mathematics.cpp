// Mathematical built-ins: functions of one number (abs, sqr, sqrt, atan, exp,
// log, round), of two (pow, remainder), and random.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"

#include <cassert>
#include <cmath>
#include <cstdint>

namespace {

using NumberFunction = double (*)(double);

// The shared body of the functions of one number.
int applyToNumber(const Arguments& args, ValueSlot& result, NumberFunction function, std::string_view message) {
  if (!args.match("n")) return args.fail(message);
  giveNumber(result, function(args.number(0)));
  return 1;
}

double square(double x) { return x * x; }
double absolute(double x) { return std::fabs(x); }
double arcTangent(double x) { return std::atan(x); }
double exponential(double x) { return std::exp(x); }
double naturalLogarithm(double x) { return std::log(x); }

// Halves go up: 2.5 -> 3, -2.5 -> -2.
double roundHalfUp(double x) { return std::ceil(x) - x <= x - std::floor(x) ? std::ceil(x) : std::floor(x); }

// Remainder of the integer division with the sign of the dividend; 64-bit so
// that the lowest 32-bit integer divided by -1 has its remainder 0.
std::int64_t truncatedRemainder(std::int32_t dividend, std::int32_t divisor) {
  assert(divisor != 0);
  return static_cast<std::int64_t>(dividend) % static_cast<std::int64_t>(divisor);
}

}  // namespace

VANTER_PRIMITIVE(primitiveAbs) {
  return applyToNumber(Arguments(argc, argv, log), result, absolute, "abs: One numeric argument expected");
}

VANTER_PRIMITIVE(primitiveSqr) {
  return applyToNumber(Arguments(argc, argv, log), result, square, "sqr: one numeric argument expected.");
}

VANTER_PRIMITIVE(primitiveSqrt) {
  Arguments args(argc, argv, log);
  if (!args.match("n")) return args.fail("sqrt: one numeric argument expected.");
  // -0.0 and NaN are not below 0 and pass.
  if (args.number(0) < 0.0) return args.fail("sqrt: cannot take square root from a negative number.");
  giveNumber(result, std::sqrt(args.number(0)));
  return 1;
}

VANTER_PRIMITIVE(primitiveAtan) {
  return applyToNumber(Arguments(argc, argv, log), result, arcTangent, "atan: one numeric argument expected.");
}

VANTER_PRIMITIVE(primitiveExp) {
  return applyToNumber(Arguments(argc, argv, log), result, exponential, "exp: one numeric argument expected.");
}

VANTER_PRIMITIVE(primitiveLog) {
  return applyToNumber(Arguments(argc, argv, log), result, naturalLogarithm, "ln: one numeric argument expected.");
}

VANTER_PRIMITIVE(primitiveRound) {
  return applyToNumber(Arguments(argc, argv, log), result, roundHalfUp, "round: One numeric argument expected");
}

VANTER_PRIMITIVE(primitivePow) {
  Arguments args(argc, argv, log);
  if (!args.match("nn")) return args.fail("power: two numeric arguments expected");
  giveNumber(result, std::pow(args.number(0), args.number(1)));
  return 1;
}

VANTER_PRIMITIVE(primitiveRemainder) {
  Arguments args(argc, argv, log);
  if (!args.match("nn")) return args.fail("remainder: two numeric arguments expected");
  const std::int32_t divisor = truncateToInt(args.number(1));
  if (divisor == 0) return args.fail("remainder: the second argument truncates to 0; no remainder exists.");
  giveNumber(result, static_cast<double>(truncatedRemainder(truncateToInt(args.number(0)), divisor)));
  return 1;
}

// REQUIRES: context.net is set (random draws from the net's own generator).
VANTER_PRIMITIVE(primitiveRandom) {
  Arguments args(argc, argv, log);
  if (!args.match("n")) return args.fail("random: One numeric argument expected");
  const std::int32_t bound = truncateToInt(args.number(0));
  if (bound == 0) return args.fail("random: the argument truncates to 0; no value lies below it.");
  assert(context.net != nullptr);
  giveNumber(result, static_cast<double>(truncatedRemainder(context.net->random().next(), bound)));
  return 1;
}
