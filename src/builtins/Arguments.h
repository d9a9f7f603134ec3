// The argument checks every built-in starts with, and the helpers that store
// its result. A built-in states its rule as a shape ("nv": a number, then a
// vector), reads the checked arguments through typed getters, and reports a
// mismatch with its own message through fail().
// Thread rule: a view over one call's arguments, used by that call only.
#pragma once

#include "lang/Primitive.h"

#include <string>
#include <string_view>

class CPlace;
class CToken;

class Arguments {
 public:
  // Borrows the call's arguments and log for the duration of the call.
  Arguments(int argc, CTypedValue* const* argv, CSimpleInterface& log) : argc_(argc), argv_(argv), log_(log) {}

  // True when there are exactly shape.size() arguments and each fits the
  // letter at its position (see fits).
  bool match(std::string_view shape) const;
  // True when argument `index` exists and fits `letter`:
  //   'n' number, 's' string, 'v' vector, 'x' any value but an object,
  //   'p' place object, 't' token object, 'a' any value.
  // A missing value (a sub-expression that gave none) fits no letter, nor
  // does a reference to a token that has left the net fit 'p' or 't'.
  bool fits(int index, char letter) const;

  int count() const { return argc_; }
  // Argument `index` (borrowed, may be null). REQUIRES: 0 <= index < count().
  CTypedValue* at(int index) const;

  // Typed getters. REQUIRES: fits(index, the matching letter).
  double number(int index) const;
  const std::string& text(int index) const;
  CVectorValue& vector(int index) const;
  CPlace& place(int index) const;
  CToken& token(int index) const;

  // Writes the runtime error report with `message` and these arguments; when
  // fits met a reference to a token that has left the net, the report names it.
  // Always 0, so a built-in can `return args.fail(...)`.
  int fail(std::string_view message) const;

 private:
  // Whether `value` refers to an object of `kind`; notes a departed token.
  bool refersTo(const CTypedValue* value, int kind) const;

  int argc_;
  CTypedValue* const* argv_;
  CSimpleInterface& log_;
  mutable const Lifeline* departed_ = nullptr;  // the last departed token fits met
};

// Stores a new number in the result slot (which the caller then owns).
void giveNumber(ValuePtr& result, double number);
// Stores a new truth value: 1.0 for true, 0.0 for false.
void giveTruth(ValuePtr& result, bool truth);
