// The vector built-ins get-len, get-nth and set-nth, and concat (which only
// answers true). Indexes are 0-based, truncated toward zero.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "model/Characteristic.h"

VANTER_PRIMITIVE(primitiveGetLen) {
  Arguments args(argc, argv, log);
  if (!args.match("v")) return args.fail("get-len: invalid arguments.");
  giveNumber(result, static_cast<double>(args.vector(0).count()));
  return 1;
}

VANTER_PRIMITIVE(primitiveGetNth) {
  Arguments args(argc, argv, log);
  if (!args.match("nv")) return args.fail("GetNth: invalid arguments.");
  CTypedValue* element = nullptr;
  if (!args.vector(1).getNth(truncateToInt(args.number(0)), element) || element == nullptr) {
    return args.fail("Vector index is out of bounds in call to GetNth.");
  }
  result.setCopy(*element);
  return 1;
}

namespace {

// The vector set-nth changes: the third argument, or else the live value of
// the current characteristic; null when the call fits neither form.
CTypedValue* setNthTarget(const Arguments& args, CCharacteristic* currentCharacteristic) {
  if (!args.fits(0, 'n') || !args.fits(1, 'a')) return nullptr;
  if (args.count() == 3 && args.fits(2, 'v')) return &args.vector(2);
  if (args.count() == 2 && currentCharacteristic != nullptr) return &currentCharacteristic->value();
  return nullptr;
}

}  // namespace

// An index outside the vector, or a target that is no vector, changes nothing
// and still succeeds; a vector that would pass the limits of a value fails.
VANTER_PRIMITIVE(primitiveSetNth) {
  Arguments args(argc, argv, log);
  CTypedValue* target = setNthTarget(args, currentCharacteristic);
  if (target == nullptr) return args.fail("SetNth: invalid arguments.");
  const int index = truncateToInt(args.number(0));
  const CVectorValue* vector = asVector(target);
  if (vector != nullptr && index >= 0 && index < vector->count() && !vector->fitsAt(index, *args.at(1))) {
    return args.fail(valueLimitMessage("SetNth: the vector"));
  }
  // Copied before the target changes, so that a vector stored into itself is safe.
  ValuePtr copy = args.at(1)->clone();
  target->adoptNth(index, copy);
  return 1;
}

VANTER_PRIMITIVE(primitiveConcat) {
  giveTruth(result, true);
  return 1;
}
