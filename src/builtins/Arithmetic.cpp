// The arithmetic built-ins: +, -, * and /.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"

namespace {

constexpr const char* kPlusTypes = "+: only numeric, string or vector arguments of the same type are allowed.";

// A further argument of + may join the sum: same type as the sum, or a number
// appended to a string.
bool joinsSum(const CTypedValue& sum, const CTypedValue* next) {
  if (next == nullptr) return false;
  if (next->typeCode() == sum.typeCode()) return true;
  return sum.typeCode() == kTypeString && next->typeCode() == kTypeDouble;
}

// A sum of numbers, added as doubles rather than through a value per step.
int addNumbers(const Arguments& args, ValueSlot& result) {
  double sum = args.number(0);
  for (int i = 1; i < args.count(); ++i) {
    if (!args.fits(i, 'n')) return args.fail(kPlusTypes);
    sum += args.number(i);
  }
  giveNumber(result, sum);
  return 1;
}

// A sum of strings or of vectors: the first argument's copy, to which each
// further argument is added by the values' own add. Kept out of line, so that
// a sum of numbers pays nothing for it.
[[gnu::noinline]] int addValues(const Arguments& args, ValueSlot& result) {
  if (args.count() == 0) return args.fail("+: at least one numeric, string or vector argument expected.");
  if (!args.fits(0, 'a')) return args.fail(kPlusTypes);
  result.setCopy(*args.at(0));
  CTypedValue& sum = *result.get();
  for (int i = 1; i < args.count(); ++i) {
    if (!joinsSum(sum, args.at(i))) return args.fail(kPlusTypes);
    if (!sum.add(*args.at(i))) return args.fail(valueLimitMessage("+: the sum"));
  }
  return 1;
}

}  // namespace

VANTER_PRIMITIVE(primitivePlus) {
  Arguments args(argc, argv, log);
  return args.fits(0, 'n') ? addNumbers(args, result) : addValues(args, result);
}

VANTER_PRIMITIVE(primitiveMinus) {
  Arguments args(argc, argv, log);
  if (!args.match("nn")) return args.fail("-: two numeric arguments expected");
  giveNumber(result, args.number(0) + (-1.0 * args.number(1)));
  return 1;
}

VANTER_PRIMITIVE(primitiveTimes) {
  Arguments args(argc, argv, log);
  if (argc == 0) return args.fail("*: at least one numeric argument expected.");
  double product = 1.0;
  for (int i = 0; i < argc; ++i) {
    if (!args.fits(i, 'n')) return args.fail("*: only numeric arguments are allowed.");
    product *= args.number(i);
  }
  giveNumber(result, product);
  return 1;
}

VANTER_PRIMITIVE(primitiveDivide) {
  Arguments args(argc, argv, log);
  if (!args.match("nn")) return args.fail("/: two numeric arguments expected");
  if (args.number(1) == 0.0) return args.fail("/: Division by zero!");
  // Multiplication by the reciprocal, so that results match to the last bit
  // what nets written for this language expect.
  giveNumber(result, args.number(0) * (1.0 / args.number(1)));
  return 1;
}
