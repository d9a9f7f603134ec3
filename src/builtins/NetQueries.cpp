// Net queries on places (exists, isthere, wasthere, tokens-list) and the
// built-ins that read and write the token being processed (get-char, set).
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/TokenEntry.h"

namespace {

// tokens-list never meets the limits of a value: a place holds no more tokens than a net names.
static_assert((NameTable::kTokenCapacity + 1) * kValueCost <= kMaxValueSize);

// A place's list holds only token entries.
const CTokenEntry& entryOf(const CGNObject* item) { return *static_cast<const CTokenEntry*>(item); }

bool anyPresent(const CPlace& place) {
  for (const CGNObject* item : place.tokens()) {
    if (entryOf(item).present()) return true;
  }
  return false;
}

// An entry stamped with the current time was in the place when the step began.
bool anyThereAtStepStart(const CPlace& place) {
  for (const CGNObject* item : place.tokens()) {
    const CTokenEntry& entry = entryOf(item);
    if (entry.stamp() == entry.token()->net().time()) return true;
  }
  return false;
}

}  // namespace

VANTER_PRIMITIVE(primitiveExists) {
  Arguments args(argc, argv, log);
  if (!args.match("p")) return args.fail("exists: one GN place argument expected");
  giveNumber(result, static_cast<double>(args.place(0).tokens().count()));
  return 1;
}

VANTER_PRIMITIVE(primitiveIsThere) {
  Arguments args(argc, argv, log);
  if (!args.match("p")) return args.fail("isthere: one GN place argument expected");
  giveTruth(result, anyPresent(args.place(0)));
  return 1;
}

VANTER_PRIMITIVE(primitiveWasThere) {
  Arguments args(argc, argv, log);
  if (!args.match("p")) return args.fail("wasthere: one GN place argument expected");
  giveTruth(result, anyThereAtStepStart(args.place(0)));
  return 1;
}

// References to the present tokens, in the place's list order.
VANTER_PRIMITIVE(primitiveTokensList) {
  Arguments args(argc, argv, log);
  if (!args.match("p")) return args.fail("Tokenslist: place expected");
  auto list = std::make_unique<CVectorValue>(0);
  for (const CGNObject* item : args.place(0).tokens()) {
    if (entryOf(item).present()) list->append(std::make_unique<CObjectValue>(entryOf(item).token()));
  }
  result.adopt(std::move(list));
  return 1;
}

VANTER_PRIMITIVE(primitiveSet) {
  Arguments args(argc, argv, log);
  if (!args.match("x")) return args.fail("Set: value expected.");
  if (currentCharacteristic == nullptr) {
    return args.fail("Set: no characteristic to set: the function runs for no token, or for one without characteristics.");
  }
  currentCharacteristic->set(*args.at(0));
  return 1;
}

namespace {

// The characteristic get-char reads: the token argument's default one, or the
// current one; null when there is none.
CCharacteristic* getCharSource(const Arguments& args, CCharacteristic* currentCharacteristic) {
  return args.count() == 2 ? args.token(1).defaultCharacteristic() : currentCharacteristic;
}

}  // namespace

// The value `steps` ring positions back; 0 is the current slot.
VANTER_PRIMITIVE(primitiveGetChar) {
  Arguments args(argc, argv, log);
  if (argc != 1 && argc != 2) return args.fail("get_char: one or two arguments expected");
  if (!args.fits(0, 'n')) return args.fail("get_char: second argument should be numeric");
  if (argc == 2 && !args.fits(1, 't')) return args.fail("get_char: first argument should be a token object");
  const int steps = truncateToInt(args.number(0));
  if (steps < 0) return args.fail("get_char: the number of steps back must not be negative.");
  const CCharacteristic* source = getCharSource(args, currentCharacteristic);
  if (source == nullptr) {
    return args.fail("get_char: no characteristic to read: there is no token, or the token has no characteristics.");
  }
  result.setCopy(source->past(steps));
  return 1;
}
