// Running a compiled body: one instruction after another, each a short step
// named for what it does. The special forms' truth rules live here: while,
// and and or test a number's size against kTruthThreshold, if tests for
// exactly 0.0. A form that needs a number or a place and gets something else
// stops with a runtime error instead of reading the wrong kind of value.
#include "lang/Program.h"

#include "lang/CallFrame.h"
#include "lang/CallNodes.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/TokenEntry.h"

#include <cmath>
#include <string>
#include <string_view>

namespace {

// Numbers smaller than this in absolute value are false for while, and, or.
constexpr double kTruthThreshold = 1e-9;
// Calls with at most this many arguments pass them from the stack.
constexpr int kInlineArguments = 8;

// while and or: a NaN counts as true.
bool isTrueCounting(double number) { return !(std::fabs(number) < kTruthThreshold); }
// and: a NaN counts as false.
bool isTrueStrictly(double number) { return std::fabs(number) >= kTruthThreshold; }

// What the run does after an instruction.
enum class Step { Next, Jump, Fail };

Step fail(CallFrame& frame, std::string_view message) {
  reportPrimitiveError(frame.log(), message, 0, nullptr);
  return Step::Fail;
}

// The report lists the value that was wrong.
Step failWith(CallFrame& frame, std::string_view message, CTypedValue* value) {
  reportPrimitiveError(frame.log(), message, 1, &value);
  return Step::Fail;
}

ValueSlot& destination(const Instruction& instruction, CallFrame& frame) { return frame.cell(instruction.dest); }

// Whether the net's work goes on, asked once a loop turn: work nobody waits
// for stops (after its report) even inside an endless loop.
bool keepGoing(CallFrame& frame) { return frame.primitiveContext().net->keepWorking(); }

// A test's operand is used up: a register it was made in is emptied.
void consume(const Operand& operand, CallFrame& frame) {
  if (operand.kind == OperandKind::Register) frame.cell(operand.index).reset();
}

// ---- variables ---------------------------------------------------------

// The let's store: the variable gets `value` (a let without a value fails,
// without a report). Forced inline: it follows every call that gives a let
// its value, the commonest statement there is.
[[gnu::always_inline]] inline Step store(CallFrame& frame, int variable, const CTypedValue* value) {
  if (value == nullptr) return Step::Fail;
  CTypedValue* slot = frame.at(variable);
  CDoubleValue* slotNumber = asNumber(slot);
  const CDoubleValue* number = asNumber(value);
  if (slotNumber != nullptr && number != nullptr) {
    slotNumber->setNumber(number->number());  // assign, without the virtual call
  } else if (slot != nullptr) {
    slot->assign(*value);
  } else {
    frame.adopt(variable, value->clone());
  }
  return Step::Next;
}

// ---- calls --------------------------------------------------------------

// Calls of at most this many arguments read them without a loop.
constexpr int kFewArguments = 3;

// The values of a few operands, as a callee receives them.
struct FewValues {
  explicit FewValues(int) {}
  CTypedValue** data() { return values; }
  void read(int count, const Operand* operands, const CallFrame& frame) {
    switch (count) {
      case 3: values[2] = frame.read(operands[2]); [[fallthrough]];
      case 2: values[1] = frame.read(operands[1]); [[fallthrough]];
      case 1: values[0] = frame.read(operands[0]); break;
      default: break;
    }
  }
  CTypedValue* values[kFewArguments];
};

// The values of any number of operands.
struct ManyValues {
  explicit ManyValues(int count) : values(count) {}
  CTypedValue** data() { return values.data(); }
  void read(int count, const Operand* operands, const CallFrame& frame) {
    for (int i = 0; i < count; ++i) values[i] = frame.read(operands[i]);
  }
  SmallArray<CTypedValue*, kInlineArguments> values;
};

// A call: its operands' values, as the callee receives them, are handed to
// `call` with the emptied result slot; afterwards the registers that held
// made arguments are emptied, and a let's value is stored.
template <typename Values, typename Call>
Step callWith(const Instruction& instruction, const Operand* operands, CallFrame& frame, const Call& call) {
  Values values(instruction.count);
  values.read(instruction.count, operands, frame);
  ValueSlot& result = destination(instruction, frame);
  result.reset();  // a callee's result slot is empty on entry
  const bool succeeded = call(result, static_cast<CTypedValue* const*>(values.data()));
  if (instruction.temporaries != 0) {
    for (int i = 0; i < instruction.count; ++i) consume(operands[i], frame);
  }
  if (!succeeded) return Step::Fail;
  return instruction.slot >= 0 ? store(frame, instruction.slot, result.get()) : Step::Next;
}

template <typename Call>
Step callWithArguments(const Instruction& instruction, const Operand* operands, CallFrame& frame, const Call& call) {
  if (instruction.count <= kFewArguments) return callWith<FewValues>(instruction, operands, frame, call);
  return callWith<ManyValues>(instruction, operands, frame, call);
}

Step callBuiltIn(const Instruction& instruction, const Operand* operands, CallFrame& frame) {
  return callWithArguments(instruction, operands, frame, [&](ValueSlot& result, CTypedValue* const* values) {
    return instruction.builtIn(instruction.count, result, values, frame.characteristic(), frame.log(),
                               frame.primitiveContext()) != 0;
  });
}

Step callFunction(const Instruction& instruction, const Operand* operands, CallFrame& frame) {
  return callWithArguments(instruction, operands, frame, [&](ValueSlot& result, CTypedValue* const* values) {
    return instruction.call->call(result, values, frame.context());
  });
}

// ---- values -------------------------------------------------------------

// "token": a copy of the current token's default characteristic's live value.
Step token(const Instruction& instruction, CallFrame& frame) {
  if (frame.context().token == nullptr) return fail(frame, "GNVCFL runtime error: \"token\" used in a call for no token.");
  if (frame.characteristic() == nullptr) {
    return fail(frame, "GNVCFL runtime error: \"token\" used for a token without characteristics.");
  }
  destination(instruction, frame).setCopy(frame.characteristic()->value());
  return Step::Next;
}

Step tokenObject(const Instruction& instruction, CallFrame& frame) {
  destination(instruction, frame).adopt(std::make_unique<CObjectValue>(frame.context().token));
  return Step::Next;
}

Step keep(const Instruction& instruction, CallFrame& frame) {
  ValueSlot& result = destination(instruction, frame);
  if (instruction.operand.kind == OperandKind::Register) {
    result.takeFrom(frame.cell(instruction.operand.index));
    return Step::Next;
  }
  CTypedValue* value = frame.read(instruction.operand);
  result.reset();
  if (value != nullptr) result.setCopy(*value);
  return Step::Next;
}

// A made value moves; a variable's is read afresh, as long as the loop read
// one at all.
Step keepLast(const Instruction& instruction, CallFrame& frame) {
  ValueSlot& last = frame.cell(instruction.operand.index);
  ValueSlot& result = destination(instruction, frame);
  if (last.ownsValue()) {
    result.takeFrom(last);
    return Step::Next;
  }
  CTypedValue* value = last.get();
  if (value != nullptr && instruction.slot >= 0) value = frame.at(instruction.slot);
  result.reset();
  if (value != nullptr) result.setCopy(*value);
  return Step::Next;
}

// The slot keeps its own type: a value already there assigns from the new one.
Step let(const Instruction& instruction, CallFrame& frame) {
  const CTypedValue* value = frame.read(instruction.operand);
  if (store(frame, instruction.slot, value) == Step::Fail) return Step::Fail;
  const bool madeInPlace =
      instruction.operand.kind == OperandKind::Register && instruction.operand.index == instruction.dest;
  if (!madeInPlace) destination(instruction, frame).setCopy(*value);
  return Step::Next;
}

// ---- tests --------------------------------------------------------------

Step ifFalse(const Instruction& instruction, CallFrame& frame) {
  const CTypedValue* condition = frame.read(instruction.operand);
  if (condition == nullptr) return fail(frame, "GNVCFL runtime error: the condition of if has no value.");
  const CDoubleValue* number = asNumber(condition);
  const bool holds = number != nullptr && number->number() != 0.0;  // any other value takes the else branch
  consume(instruction.operand, frame);
  return holds ? Step::Next : Step::Jump;
}

Step whileTrue(const Instruction& instruction, CallFrame& frame) {
  CTypedValue* condition = frame.read(instruction.operand);
  const CDoubleValue* number = asNumber(condition);
  if (number == nullptr) {
    return failWith(frame, "GNVCFL runtime error: the condition of while is not a number.", condition);
  }
  const bool holds = isTrueCounting(number->number());
  consume(instruction.operand, frame);
  if (!holds) return Step::Next;
  return keepGoing(frame) ? Step::Jump : Step::Fail;
}

// An argument of and or or (named `form`): no value goes to `target`; a
// number does when its truth by `isTrue` is `stopsWhen`.
Step logicTest(const Instruction& instruction, CallFrame& frame, const char* form, bool (*isTrue)(double),
               bool stopsWhen) {
  CTypedValue* value = frame.read(instruction.operand);
  if (value == nullptr) return Step::Jump;
  const CDoubleValue* number = asNumber(value);
  if (number == nullptr) {
    return failWith(frame, std::string("GNVCFL runtime error: an argument of ") + form + " is not a number.", value);
  }
  const bool holds = isTrue(number->number());
  consume(instruction.operand, frame);
  return holds == stopsWhen ? Step::Jump : Step::Next;
}

// ---- for ----------------------------------------------------------------

Step forBound(const Instruction& instruction, CallFrame& frame) {
  CTypedValue* value = frame.read(instruction.operand);
  const CDoubleValue* number = asNumber(value);
  if (number == nullptr) {
    return failWith(frame, std::string("GNVCFL runtime error: ") + instruction.what + " is not a number.", value);
  }
  LoopState& loop = frame.loop(instruction.loop);
  const std::int64_t bound = truncateToInt(number->number());
  if (instruction.slot == 0) loop.index = bound;
  if (instruction.slot == 1) loop.end = bound;
  if (instruction.slot == 2) {
    loop.step = bound;
    loop.stepValue = number->number();
  }
  consume(instruction.operand, frame);
  return Step::Next;
}

// Both bounds inclusive; a loop runs up with a positive step from a start at
// or below the end, or down with a negative step from a start above it.
Step forStart(const Instruction& instruction, CallFrame& frame) {
  LoopState& loop = frame.loop(instruction.loop);
  const bool up = loop.index <= loop.end && loop.step > 0;
  const bool down = loop.index > loop.end && loop.step < 0;
  if (!up && !down) return Step::Jump;
  loop.counter->setNumber(static_cast<double>(loop.index));
  return Step::Next;
}

Step forStep(const Instruction& instruction, CallFrame& frame) {
  if (!keepGoing(frame)) return Step::Fail;
  LoopState& loop = frame.loop(instruction.loop);
  loop.index += loop.step;
  const bool inRange = loop.step > 0 ? loop.index <= loop.end : loop.index >= loop.end;
  if (!inRange) return Step::Next;
  loop.counter->setNumber(static_cast<double>(loop.index));
  return Step::Jump;
}

// ---- foreach ------------------------------------------------------------

// Walks every entry of the place's token list, including entries whose token
// moved on during this step.
Step forEachStart(const Instruction& instruction, CallFrame& frame) {
  CTypedValue* collection = frame.read(instruction.operand);
  auto* place = static_cast<CPlace*>(objectOfKind(collection, kKindPlace));
  if (place == nullptr) {
    return failWith(frame, "GNVCFL runtime error: foreach needs a reference to a place.", collection);
  }
  LoopState& loop = frame.loop(instruction.loop);
  loop.cursor = &frame.loopCursor(instruction.slot);
  loop.list = &place->tokens();
  loop.position = loop.list->begin();
  loop.started = false;
  return Step::Next;
}

// The next entry is taken only after the body ran for the current one, so
// that an entry the body inserted behind it is walked too.
Step forEachNext(const Instruction& instruction, CallFrame& frame) {
  LoopState& loop = frame.loop(instruction.loop);
  if (loop.started) {
    if (!keepGoing(frame)) return Step::Fail;
    ++loop.position;
  }
  loop.started = true;
  if (loop.position == loop.list->end()) return Step::Next;
  loop.cursor->setTarget(static_cast<CTokenEntry*>(*loop.position)->token());
  return Step::Jump;
}

}  // namespace

bool Program::run(CallFrame& frame) const {
  const Instruction* const code = code_.data();
  const Instruction* const end = code + code_.size();
  const Operand* const operands = operands_.data();
  for (const Instruction* next = code; next != end;) {
    const Instruction& instruction = *next;
    Step step = Step::Next;
    switch (instruction.op) {
      case Op::CallBuiltIn: step = callBuiltIn(instruction, operands + instruction.first, frame); break;
      case Op::CallFunction: step = callFunction(instruction, operands + instruction.first, frame); break;
      case Op::Token: step = token(instruction, frame); break;
      case Op::TokenObject: step = tokenObject(instruction, frame); break;
      case Op::Capture: destination(instruction, frame).borrow(frame.read(instruction.operand)); break;
      case Op::Keep: step = keep(instruction, frame); break;
      case Op::KeepLast: step = keepLast(instruction, frame); break;
      case Op::ZeroIfNone:
        if (destination(instruction, frame) == nullptr) destination(instruction, frame).setNumber(0.0);
        break;
      case Op::SetNumber: destination(instruction, frame).setNumber(instruction.number); break;
      case Op::Clear: destination(instruction, frame).reset(); break;
      case Op::Let: step = let(instruction, frame); break;
      case Op::Jump: step = Step::Jump; break;
      case Op::IfFalse: step = ifFalse(instruction, frame); break;
      case Op::WhileTrue: step = whileTrue(instruction, frame); break;
      case Op::AndFalse: step = logicTest(instruction, frame, "and", isTrueStrictly, false); break;
      case Op::OrTrue: step = logicTest(instruction, frame, "or", isTrueCounting, true); break;
      case Op::ForCounter: frame.loop(instruction.loop).counter = &frame.loopCounter(instruction.slot); break;
      case Op::ForBound: step = forBound(instruction, frame); break;
      case Op::ForStart: step = forStart(instruction, frame); break;
      case Op::ForStep: step = forStep(instruction, frame); break;
      case Op::ForStepValue: destination(instruction, frame).setNumber(frame.loop(instruction.loop).stepValue); break;
      case Op::ForEachStart: step = forEachStart(instruction, frame); break;
      case Op::ForEachNext: step = forEachNext(instruction, frame); break;
    }
    if (step == Step::Fail) return false;
    next = step == Step::Jump ? code + instruction.target : next + 1;
  }
  return true;
}
