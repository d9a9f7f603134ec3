// begin, which gives a copy of its last argument, and MathEval, which does nothing.
#include "builtins/Arguments.h"
#include "builtins/BuiltinFunctions.h"

// The arguments before the last were evaluated for their effects only.
VANTER_PRIMITIVE(primitiveBegin) {
  Arguments args(argc, argv, log);
  if (argc == 0) return args.fail("begin: at least one argument expected; there is no last value to give.");
  if (const CTypedValue* last = args.at(argc - 1)) result.setCopy(*last);
  return 1;
}

VANTER_PRIMITIVE(primitiveMathEval) { return 1; }
