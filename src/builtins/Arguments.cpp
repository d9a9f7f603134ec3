// The argument checks of built-ins for objects and texts, the object getters,
// and the report that names a departed token.
#include "builtins/Arguments.h"

#include "model/Place.h"
#include "model/Token.h"

#include <cassert>

bool Arguments::fitsOther(const CTypedValue& value, char letter) const {
  switch (letter) {
    case 's': return value.typeCode() == kTypeString;
    case 'v': return value.typeCode() == kTypeVector;
    case 'x': return value.typeCode() != kTypeObject;
    case 'p': return refersTo(&value, kKindPlace);
    case 't': return refersTo(&value, kKindToken);
  }
  assert(false && "unknown argument shape letter");
  return false;
}

bool Arguments::refersTo(const CTypedValue* value, int kind) const {
  if (objectOfKind(value, kind) != nullptr) return true;
  if (const Lifeline* gone = departedTarget(value)) departed_ = gone;
  return false;
}

CPlace& Arguments::place(int index) const {
  assert(fits(index, 'p'));
  return *static_cast<CPlace*>(objectOfKind(argv_[index], kKindPlace));
}

CToken& Arguments::token(int index) const {
  assert(fits(index, 't'));
  return *static_cast<CToken*>(objectOfKind(argv_[index], kKindToken));
}

int Arguments::failNamingDeparted(std::string_view message) const {
  return reportPrimitiveError(log_, std::string(message) + " " + departedMessage(*departed_), argc_, argv_);
}

