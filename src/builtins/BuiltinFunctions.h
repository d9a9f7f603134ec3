// The built-in functions of GNVCFL: their registration, and every
// implementation, one declaration each, grouped by family. Each family lives
// in its own file; registerBuiltIns lists them in order.
#pragma once

#include "lang/Primitive.h"

// Fills the table (once per process, under a lock, the 49 built-ins in their
// fixed order) and defines the function object "ID" in the net.
void registerBuiltIns(CAbstractTransition& net);

// Every built-in has the PrimitiveFunction form; a built-in uses only the
// parameters it needs, so all of them are marked as possibly unused.
#define VANTER_PRIMITIVE(name)                                                                      \
  int name([[maybe_unused]] int argc, [[maybe_unused]] ValueSlot& result,                           \
           [[maybe_unused]] CTypedValue* const* argv,                                               \
           [[maybe_unused]] CCharacteristic* currentCharacteristic, [[maybe_unused]] CSimpleInterface& log, \
           [[maybe_unused]] const PrimitiveContext& context)

// Arithmetic, comparison, logic, mathematics, timing, sequencing (Arithmetic.cpp,
// Comparison.cpp, Mathematics.cpp, Timing.cpp, Sequencing.cpp).
VANTER_PRIMITIVE(primitivePlus);
VANTER_PRIMITIVE(primitiveMinus);
VANTER_PRIMITIVE(primitiveTimes);
VANTER_PRIMITIVE(primitiveDivide);
VANTER_PRIMITIVE(primitiveEqual);
VANTER_PRIMITIVE(primitiveNotEqual);
VANTER_PRIMITIVE(primitiveNot);
VANTER_PRIMITIVE(primitiveLess);
VANTER_PRIMITIVE(primitiveAbs);
VANTER_PRIMITIVE(primitiveGreater);
VANTER_PRIMITIVE(primitiveMathEval);
VANTER_PRIMITIVE(primitiveRemainder);
VANTER_PRIMITIVE(primitiveRound);
VANTER_PRIMITIVE(primitiveTimedelta);
VANTER_PRIMITIVE(primitiveLifetime);
VANTER_PRIMITIVE(primitiveBegin);
VANTER_PRIMITIVE(primitiveSqr);
VANTER_PRIMITIVE(primitiveSqrt);
VANTER_PRIMITIVE(primitiveAtan);
VANTER_PRIMITIVE(primitiveLessEqual);
VANTER_PRIMITIVE(primitiveGreaterEqual);
VANTER_PRIMITIVE(primitiveRandom);
VANTER_PRIMITIVE(primitivePow);
VANTER_PRIMITIVE(primitiveExp);
VANTER_PRIMITIVE(primitiveLog);

// Strings and vectors (Vectors.cpp).
VANTER_PRIMITIVE(primitiveGetNth);
VANTER_PRIMITIVE(primitiveSetNth);
VANTER_PRIMITIVE(primitiveGetLen);
VANTER_PRIMITIVE(primitiveConcat);

// Net queries and named characteristics (NetQueries.cpp, NamedCharacteristics.cpp, Split.cpp).
VANTER_PRIMITIVE(primitiveSet);
VANTER_PRIMITIVE(primitiveGetChar);
VANTER_PRIMITIVE(primitiveExists);
VANTER_PRIMITIVE(primitiveTokensList);
VANTER_PRIMITIVE(primitiveIsThere);
VANTER_PRIMITIVE(primitiveWasThere);
VANTER_PRIMITIVE(primitiveGetNamed);
VANTER_PRIMITIVE(primitiveSetNamed);
VANTER_PRIMITIVE(primitiveDelNamed);
VANTER_PRIMITIVE(primitiveSplit);

// Input and output (InputOutput.cpp).
VANTER_PRIMITIVE(primitivePrint);
VANTER_PRIMITIVE(primitiveNewline);
VANTER_PRIMITIVE(primitiveFread);
VANTER_PRIMITIVE(primitiveMessage);
VANTER_PRIMITIVE(primitiveInput);
VANTER_PRIMITIVE(primitiveInputStr);

// Plot windows (Plot.cpp).
VANTER_PRIMITIVE(primitiveOpenWindow);
VANTER_PRIMITIVE(primitiveSendData);
VANTER_PRIMITIVE(primitiveSendScalar);

// The MATLAB call (src/matlab/Matlab.cpp).
VANTER_PRIMITIVE(primitiveMatlab);
