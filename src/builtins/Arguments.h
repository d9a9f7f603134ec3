// The argument checks every built-in starts with, and the helpers that store
// its result. A built-in states its rule as a shape ("nv": a number, then a
// vector), reads the checked arguments through typed getters, and reports a
// mismatch with its own message through fail().
// Thread rule: a view over one call's arguments, used by that call only.
#pragma once

#include "lang/Primitive.h"

#include <cassert>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class CPlace;
class CToken;

class Arguments {
 public:
  // Borrows the call's arguments and log for the duration of the call.
  Arguments(int argc, CTypedValue* const* argv, CSimpleInterface& log) : argc_(argc), argv_(argv), log_(log) {}

  // True when there are exactly as many arguments as the shape has letters
  // and each fits the letter at its position (see fits). The shape is a
  // literal, so that the check unrolls into one test per letter.
  template <std::size_t N>
  bool match(const char (&shape)[N]) const {
    return argc_ == static_cast<int>(N) - 1 && fitsEach(shape, std::make_index_sequence<N - 1>());
  }
  // True when argument `index` exists and fits `letter`:
  //   'n' number, 's' string, 'v' vector, 'x' any value but an object,
  //   'p' place object, 't' token object, 'a' any value.
  // A missing value (a sub-expression that gave none) fits no letter, nor
  // does a reference to a token that has left the net fit 'p' or 't'.
  bool fits(int index, char letter) const {
    if (index < 0 || index >= argc_ || argv_[index] == nullptr) return false;
    switch (letter) {
      case 'n': return argv_[index]->typeCode() == kTypeDouble;
      case 'a': return true;
      default: return fitsOther(*argv_[index], letter);
    }
  }

  int count() const { return argc_; }
  // Argument `index` (borrowed, may be null). REQUIRES: 0 <= index < count().
  CTypedValue* at(int index) const {
    assert(index >= 0 && index < argc_);
    return argv_[index];
  }

  // Typed getters. REQUIRES: fits(index, the matching letter).
  double number(int index) const {
    assert(fits(index, 'n'));
    return static_cast<const CDoubleValue*>(argv_[index])->number();
  }
  const std::string& text(int index) const {
    assert(fits(index, 's'));
    return static_cast<const CStringValue*>(argv_[index])->text();
  }
  CVectorValue& vector(int index) const {
    assert(fits(index, 'v'));
    return *static_cast<CVectorValue*>(argv_[index]);
  }
  CPlace& place(int index) const;
  CToken& token(int index) const;

  // Writes the runtime error report with `message` and these arguments; when
  // fits met a reference to a token that has left the net, the report names it.
  // Always 0, so a built-in can `return args.fail(...)`.
  int fail(std::string_view message) const {
    if (departed_ != nullptr) return failNamingDeparted(message);
    return reportPrimitiveError(log_, message, argc_, argv_);
  }

 private:
  template <std::size_t N, std::size_t... I>
  bool fitsEach(const char (&shape)[N], std::index_sequence<I...>) const {
    return (fits(static_cast<int>(I), shape[I]) && ...);
  }
  // fits for the letters other than 'n' and 'a'.
  bool fitsOther(const CTypedValue& value, char letter) const;
  // Whether `value` refers to an object of `kind`; notes a departed token.
  bool refersTo(const CTypedValue* value, int kind) const;
  // fail, naming the departed token fits met.
  int failNamingDeparted(std::string_view message) const;

  int argc_;
  CTypedValue* const* argv_;
  CSimpleInterface& log_;
  mutable const Lifeline* departed_ = nullptr;  // the last departed token fits met
};

// Stores a new number in the result slot (kept in place there).
inline void giveNumber(ValueSlot& result, double number) { result.setNumber(number); }
// Stores a new truth value: 1.0 for true, 0.0 for false.
inline void giveTruth(ValueSlot& result, bool truth) { result.setNumber(truth ? 1.0 : 0.0); }
