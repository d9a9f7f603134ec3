// The mechanism behind GNVCFL's built-in functions: the form every
// implementation has, the process-wide table that maps names to them, and the
// one runtime error report they all use. The built-ins themselves and their
// registration live in builtins/.
// Thread rule: the table is filled once per process and guarded by a
// reader-writer lock, so any thread may look names up; built-ins run on the
// thread of the net that calls them.
#pragma once

#include "lang/ValueSlot.h"

#include <string_view>

class CAbstractTransition;
class CCharacteristic;
class CSimpleInterface;
class CToken;

// One call's environment beyond its arguments: the net whose function runs
// (for net services: time, random, tables, events) and the token (may be null).
struct PrimitiveContext {
  CAbstractTransition* net;  // null only in unit tests of pure built-ins
  CToken* token;
};

// (argc, result slot empty on entry, borrowed arguments (entries may be null),
// current token's default characteristic or null, log sink, context)
// -> nonzero for success. On success the built-in may store a value of the
// slot's own in `result` (a number kept in place, or a new value); on failure
// it has reported through reportPrimitiveError.
using PrimitiveFunction = int (*)(int argc, ValueSlot& result, CTypedValue* const* argv,
                                  CCharacteristic* currentCharacteristic, CSimpleInterface& log,
                                  const PrimitiveContext& context);

// The table holds at most this many entries; later registrations are dropped.
constexpr int kMaxPrimitives = 100;
// Names of built-ins have at most this many characters.
constexpr int kMaxPrimitiveName = 19;

// Appends an entry; false when the table is full or the name too long.
bool registerPrimitive(int arity, std::string_view name, PrimitiveFunction function);
// First entry of that exact name; false when there is none.
bool findPrimitive(std::string_view name, int* arity, PrimitiveFunction* function);

// Writes the framed report to the log and the argument listing to standard
// error. Always returns 0, so a built-in can `return reportPrimitiveError(...)`.
int reportPrimitiveError(CSimpleInterface& log, std::string_view message, int argc, CTypedValue* const* argv);
