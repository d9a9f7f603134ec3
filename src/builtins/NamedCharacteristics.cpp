// The named-characteristic built-ins: get-named, set-named and del-named, on
// any token's characteristics by exact name.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"
#include "builtins/NetLimits.h"
#include "model/Characteristic.h"
#include "model/Token.h"

// A name the token does not have reads as 0.
VANTER_PRIMITIVE(primitiveGetNamed) {
  Arguments args(argc, argv, log);
  if (!args.match("ts")) return args.fail("get-named: Invalid Arguments.");
  if (const CCharacteristic* named = args.token(0).characteristic(args.text(1))) {
    result.setCopy(named->past(0));
  } else {
    giveNumber(result, 0.0);
  }
  return 1;
}

// Sets the named characteristic, or creates it with every slot holding the value.
VANTER_PRIMITIVE(primitiveSetNamed) {
  Arguments args(argc, argv, log);
  if (!args.match("tsx")) return args.fail("set-named: Invalid Arguments.");
  CToken& token = args.token(0);
  if (CCharacteristic* named = token.characteristic(args.text(1))) {
    named->set(*args.at(2));
  } else {
    token.putCharacteristic(args.text(1), std::make_unique<CCharacteristic>(kNamedHistory, args.at(2)->clone()));
  }
  return 1;
}

// Removes the name; the characteristic itself lives on with the token.
VANTER_PRIMITIVE(primitiveDelNamed) {
  Arguments args(argc, argv, log);
  if (!args.match("ts")) return args.fail("del-named: Invalid Arguments.");
  if (!args.token(0).removeCharacteristic(args.text(1))) return args.fail("del-named: Named characteristic not found.");
  giveTruth(result, true);
  return 1;
}
