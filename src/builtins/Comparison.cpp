// Comparison and logic: =, !=, <, >, <=, >= and not. Values of different
// types are neither equal nor greater; a missing value equals nothing.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"

namespace {

// The values' own greater and equals; two numbers are compared as doubles,
// without the values' calls.
bool bothNumbers(const CTypedValue& a, const CTypedValue& b) {
  return a.typeCode() == kTypeDouble && b.typeCode() == kTypeDouble;
}
double numberOf(const CTypedValue& value) { return static_cast<const CDoubleValue&>(value).number(); }

bool isGreater(const CTypedValue& a, const CTypedValue& b) {
  return bothNumbers(a, b) ? numberOf(a) > numberOf(b) : a.greater(b);
}

bool isEqual(const CTypedValue& a, const CTypedValue& b) {
  return bothNumbers(a, b) ? numberOf(a) == numberOf(b) : a.equals(b);
}

bool sameValue(const CTypedValue* a, const CTypedValue* b) { return a != nullptr && b != nullptr && isEqual(*a, *b); }

// True when every argument equals the one after it.
bool allNeighboursEqual(int argc, CTypedValue* const* argv) {
  for (int i = 0; i + 1 < argc; ++i) {
    if (!sameValue(argv[i], argv[i + 1])) return false;
  }
  return true;
}

bool startsWithObject(int argc, CTypedValue* const* argv) {
  return argc > 0 && argv[0] != nullptr && argv[0]->typeCode() == kTypeObject;
}

}  // namespace

VANTER_PRIMITIVE(primitiveEqual) {
  giveTruth(result, !startsWithObject(argc, argv) && allNeighboursEqual(argc, argv));
  return 1;
}

VANTER_PRIMITIVE(primitiveNotEqual) {
  if (argc == 0) {
    giveTruth(result, true);
    return 1;
  }
  giveTruth(result, !startsWithObject(argc, argv) && !allNeighboursEqual(argc, argv));
  return 1;
}

VANTER_PRIMITIVE(primitiveLess) {
  Arguments args(argc, argv, log);
  if (!args.match("aa")) return args.fail("<: two arguments expected.");
  giveTruth(result, !isGreater(*args.at(0), *args.at(1)) && !isEqual(*args.at(0), *args.at(1)));
  return 1;
}

VANTER_PRIMITIVE(primitiveGreater) {
  Arguments args(argc, argv, log);
  if (!args.match("aa")) return args.fail(">: two arguments expected.");
  giveTruth(result, isGreater(*args.at(0), *args.at(1)));
  return 1;
}

VANTER_PRIMITIVE(primitiveLessEqual) {
  Arguments args(argc, argv, log);
  if (!args.match("aa")) return args.fail("<=: two values expected.");
  giveTruth(result, !isGreater(*args.at(0), *args.at(1)));
  return 1;
}

VANTER_PRIMITIVE(primitiveGreaterEqual) {
  Arguments args(argc, argv, log);
  if (!args.match("aa")) return args.fail(">=: two values expected.");
  giveTruth(result, isGreater(*args.at(0), *args.at(1)) || isEqual(*args.at(0), *args.at(1)));
  return 1;
}

VANTER_PRIMITIVE(primitiveNot) {
  Arguments args(argc, argv, log);
  if (argc != 1) return args.fail("not: one argument expected.");
  giveTruth(result, args.fits(0, 'n') && args.number(0) == 0.0);
  return 1;
}
