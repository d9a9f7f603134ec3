// Evaluation of the special forms, each with its own truth rule: while, and
// and or test a number's size against kTruthThreshold; if tests for exactly
// 0.0. A form that needs a number or a place and gets something else stops
// with a runtime error instead of reading the wrong kind of value.
#include "lang/Forms.h"

#include "lang/Expression.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/TokenEntry.h"

#include <cmath>
#include <string>

namespace {

// Numbers smaller than this in absolute value are false for while, and, or.
constexpr double kTruthThreshold = 1e-9;

// while and or: a NaN counts as true.
bool isTrueCounting(double number) { return !(std::fabs(number) < kTruthThreshold); }
// and: a NaN counts as false.
bool isTrueStrictly(double number) { return std::fabs(number) >= kTruthThreshold; }

ValuePtr truth(bool value) { return std::make_unique<CDoubleValue>(value ? 1.0 : 0.0); }

}  // namespace

bool CFormNode::evaluateNumber(int i, ArgumentValues& values, LocalSlots& locals, const char* what,
                               double* number) const {
  if (!evaluateArgument(i, values, locals)) return false;
  CTypedValue* value = values.at(i);
  const CDoubleValue* numeric = asNumber(value);
  if (numeric == nullptr) {
    return runtimeError(std::string("GNVCFL runtime error: ") + what + " is not a number.", 1, &value);
  }
  *number = numeric->number();
  return true;
}

bool CIfNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ValuePtr owned;
  CTypedValue* condition = nullptr;
  double number = 0.0;
  bool direct = false;
  if (!evaluateTest(0, owned, condition, &number, &direct, locals)) return false;
  if (!direct) {
    if (condition == nullptr) return runtimeError("GNVCFL runtime error: the condition of if has no value.", 0, nullptr);
    const CDoubleValue* numeric = asNumber(condition);
    number = numeric != nullptr ? numeric->number() : 0.0;  // any other value takes the else branch
  }
  int branch = number != 0.0 ? 1 : 2;
  owned.reset();
  CTypedValue* value = nullptr;
  if (!evaluateAlone(branch, owned, value, locals)) return false;
  out = ownedCopy(owned, value);
  return true;
}

bool CAndNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ArgumentValues values(*this);
  for (int i = 0; i < count(); ++i) {
    if (!evaluateArgument(i, values, locals)) return false;
    CTypedValue* value = values.at(i);
    if (value == nullptr) {
      out = truth(false);
      return true;
    }
    const CDoubleValue* number = asNumber(value);
    if (number == nullptr) return runtimeError("GNVCFL runtime error: an argument of and is not a number.", 1, &value);
    if (!isTrueStrictly(number->number())) {
      out = truth(false);
      return true;
    }
  }
  out = truth(true);
  return true;
}

bool COrNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ArgumentValues values(*this);
  for (int i = 0; i < count(); ++i) {
    if (!evaluateArgument(i, values, locals)) return false;
    CTypedValue* value = values.at(i);
    if (value == nullptr) {
      out = truth(true);
      return true;
    }
    const CDoubleValue* number = asNumber(value);
    if (number == nullptr) return runtimeError("GNVCFL runtime error: an argument of or is not a number.", 1, &value);
    if (isTrueCounting(number->number())) {
      out = truth(true);
      return true;
    }
  }
  out = truth(false);
  return true;
}

// The slot keeps its own type: a value already there assigns from the new one.
bool CLetNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ValuePtr owned;
  CTypedValue* value = nullptr;
  if (!evaluateAlone(0, owned, value, locals) || value == nullptr) return false;
  CTypedValue* slot = locals.at(variable_);
  CDoubleValue* slotNumber = asNumber(slot);
  const CDoubleValue* number = asNumber(value);
  if (slotNumber != nullptr && number != nullptr) {
    slotNumber->setNumber(number->number());  // assign, without the virtual call
  } else if (slot != nullptr) {
    slot->assign(*value);
  } else {
    locals.adopt(variable_, value->clone());
  }
  out = ownedCopy(owned, value);
  return true;
}

bool CWhileNode::conditionHolds(LocalSlots& locals, bool* holds) const {
  ValuePtr owned;
  CTypedValue* condition = nullptr;
  double number = 0.0;
  bool direct = false;
  if (!evaluateTest(0, owned, condition, &number, &direct, locals)) return false;
  if (!direct) {
    const CDoubleValue* numeric = asNumber(condition);
    if (numeric == nullptr) {
      return runtimeError("GNVCFL runtime error: the condition of while is not a number.", 1, &condition);
    }
    number = numeric->number();
  }
  *holds = isTrueCounting(number);
  return true;
}

bool CWhileNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ArgumentValues values(*this);
  bool holds = false;
  if (!conditionHolds(locals, &holds)) return false;
  for (bool first = true; holds; first = false) {
    if (!first) values.release(1);
    if (!evaluateArguments(values, locals, 1)) return false;
    if (!owner().net().keepWorking() || !conditionHolds(locals, &holds)) return false;
  }
  out = values.resultOf(count() - 1, locals);
  if (!out) out = std::make_unique<CDoubleValue>(0.0);
  return true;
}

bool CForNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ArgumentValues values(*this);
  CDoubleValue& counter = locals.loopCounter(variable_);
  double from = 0.0, to = 0.0, step = 0.0;
  if (!evaluateNumber(0, values, locals, "the start of for", &from) ||
      !evaluateNumber(1, values, locals, "the end of for", &to) ||
      !evaluateNumber(2, values, locals, "the step of for", &step)) {
    return false;
  }
  if (!runLoop(truncateToInt(from), truncateToInt(to), truncateToInt(step), counter, values, locals)) return false;
  out = values.resultOf(count() - 1, locals);
  return true;
}

// Both bounds inclusive; 64-bit so that stepping past the 32-bit range ends the loop.
bool CForNode::runLoop(std::int64_t i, std::int64_t to, std::int64_t step, CDoubleValue& counter,
                       ArgumentValues& values, LocalSlots& locals) const {
  bool up = i <= to && step > 0;
  bool down = i > to && step < 0;
  if (!up && !down) return true;
  auto inRange = [&](std::int64_t value) { return up ? value <= to : value >= to; };
  while (inRange(i)) {
    counter.setNumber(static_cast<double>(i));
    if (!evaluateArguments(values, locals, 3) || !owner().net().keepWorking()) return false;
    i += step;
    if (inRange(i)) values.release(3);
  }
  return true;
}

// Walks every entry of the place's token list, including entries whose token
// moved on during this step.
bool CForEachNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ArgumentValues values(*this);
  if (!evaluateArgument(0, values, locals)) return false;
  CTypedValue* collection = values.at(0);
  CBaseObject* place = objectOfKind(collection, kKindPlace);
  if (place == nullptr) {
    return runtimeError("GNVCFL runtime error: foreach needs a reference to a place.", 1, &collection);
  }
  CObjectValue& cursor = locals.loopCursor(variable_);
  bool first = true;
  for (CGNObject* item : static_cast<CPlace*>(place)->tokens()) {
    if (!first) values.release(1);
    first = false;
    cursor.setTarget(static_cast<CTokenEntry*>(item)->token());
    if (!evaluateArguments(values, locals, 1) || !owner().net().keepWorking()) return false;
  }
  out = values.resultOf(0, locals);
  return true;
}
