// The shared argument checks of built-ins and their result helpers.
#include "builtins/Arguments.h"

#include "model/Place.h"
#include "model/Token.h"

#include <cassert>

bool Arguments::match(std::string_view shape) const {
  if (static_cast<std::size_t>(argc_) != shape.size()) return false;
  for (int i = 0; i < argc_; ++i) {
    if (!fits(i, shape[static_cast<std::size_t>(i)])) return false;
  }
  return true;
}

bool Arguments::fits(int index, char letter) const {
  if (index < 0 || index >= argc_ || argv_[index] == nullptr) return false;
  const CTypedValue* value = argv_[index];
  switch (letter) {
    case 'n': return value->typeCode() == kTypeDouble;
    case 's': return value->typeCode() == kTypeString;
    case 'v': return value->typeCode() == kTypeVector;
    case 'x': return value->typeCode() != kTypeObject;
    case 'p': return refersTo(value, kKindPlace);
    case 't': return refersTo(value, kKindToken);
    case 'a': return true;
  }
  assert(false && "unknown argument shape letter");
  return false;
}

bool Arguments::refersTo(const CTypedValue* value, int kind) const {
  if (objectOfKind(value, kind) != nullptr) return true;
  if (const Lifeline* gone = departedTarget(value)) departed_ = gone;
  return false;
}

CTypedValue* Arguments::at(int index) const {
  assert(index >= 0 && index < argc_);
  return argv_[index];
}

double Arguments::number(int index) const {
  assert(fits(index, 'n'));
  return asNumber(argv_[index])->number();
}

const std::string& Arguments::text(int index) const {
  assert(fits(index, 's'));
  return asString(argv_[index])->text();
}

CVectorValue& Arguments::vector(int index) const {
  assert(fits(index, 'v'));
  return *asVector(argv_[index]);
}

CPlace& Arguments::place(int index) const {
  assert(fits(index, 'p'));
  return *static_cast<CPlace*>(objectOfKind(argv_[index], kKindPlace));
}

CToken& Arguments::token(int index) const {
  assert(fits(index, 't'));
  return *static_cast<CToken*>(objectOfKind(argv_[index], kKindToken));
}

int Arguments::fail(std::string_view message) const {
  if (departed_ == nullptr) return reportPrimitiveError(log_, message, argc_, argv_);
  return reportPrimitiveError(log_, std::string(message) + " " + departedMessage(*departed_), argc_, argv_);
}

void giveNumber(ValuePtr& result, double number) { result = std::make_unique<CDoubleValue>(number); }

void giveTruth(ValuePtr& result, bool truth) { giveNumber(result, truth ? 1.0 : 0.0); }
