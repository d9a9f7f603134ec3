// What evaluation carries through a net's call of a user function: the call
// context shared by every nested call (time, token, nesting depth), and the
// frame of one user call: its variable slots, its registers, the state of its
// running loops, and what the built-ins it calls receive besides arguments.
// Thread rule: lives on the stack of the thread that steps the net.
#pragma once

#include "lang/Code.h"
#include "lang/Program.h"
#include "lang/SmallArray.h"
#include "lang/Value.h"
#include "lang/ValueSlot.h"
#include "model/LList.h"

#include <cstdint>
#include <memory>
#include <vector>

class CCharacteristic;
class CSimpleInterface;
class CToken;

// Expressions and calls nested deeper than this in one net call stop with a
// runtime error instead of exhausting the thread's stack.
constexpr int kMaxEvaluationDepth = 2000;

// Set by the net's call (CExpression::execute) and seen by every function it
// calls in turn, so nested calls read the time and token of the net's call.
struct CallContext {
  CDoubleValue* time;  // the net's step time; borrowed, lives for the net's call
  CToken* token;       // the current token, or null
  int depth;           // nesting of the running function's body within the net's call
};

// One running for or foreach loop.
struct LoopState {
  CDoubleValue* counter = nullptr;  // for: the variable's number
  std::int64_t index = 0;           // for: the count; 64-bit, so that stepping past the 32-bit range ends it
  std::int64_t end = 0;
  std::int64_t step = 0;
  double stepValue = 0.0;           // for: the step as it was given
  CObjectValue* cursor = nullptr;   // foreach: the variable's reference
  const CLList* list = nullptr;     // foreach: the place's token entries
  CLList::const_iterator position{nullptr};  // foreach: the entry the cursor names
  bool started = false;             // foreach: position has been set
};

// One user call: its cells and its loops. The cells are the variable slots,
// parameters first, borrowed from the caller, then declared locals; then the
// registers. A value the call puts into a slot (let, for, foreach) belongs to
// the call and dies with it; the caller's values are never deleted.
class CallFrame {
 public:
  // Calls with at most this many cells and loops keep them on the stack.
  static constexpr int kInlineCells = 16;
  static constexpr int kInlineLoops = 2;

  // The program's cells, empty, and its loops; `characteristic` is the
  // default characteristic of the context's token, or null.
  CallFrame(const Program& program, CallContext& context, const PrimitiveContext& primitiveContext,
            CCharacteristic* characteristic, CSimpleInterface& log)
      : cells_(program.cellCount()),
        loops_(program.loopCount()),
        context_(&context),
        primitiveContext_(primitiveContext),
        characteristic_(characteristic),
        log_(&log) {}
  CallFrame(const CallFrame&) = delete;
  CallFrame& operator=(const CallFrame&) = delete;

  // The value in slot i (borrowed), or null when the slot is empty.
  CTypedValue* at(int i) const { return cells_[i].get(); }
  // Slot i refers to a value the call does not own. REQUIRES: slot i is empty.
  void borrow(int i, CTypedValue* value) { cells_[i].borrow(value); }
  // Slot i receives a value the call owns. REQUIRES: slot i is empty.
  void adopt(int i, ValuePtr value) { cells_[i].adopt(std::move(value)); }
  // The number a `for` counts with: the call-owned number already in slot i,
  // or a new call-owned 0.0 replacing what the slot held.
  CDoubleValue& loopCounter(int i);
  // The object value a `foreach` walks with, likewise, with no target.
  CObjectValue& loopCursor(int i);

  // Cell i: a variable slot or a register.
  ValueSlot& cell(int i) { return cells_[i]; }
  LoopState& loop(int i) { return loops_[i]; }
  // The value an operand names (borrowed), or null.
  CTypedValue* read(const Operand& operand) const {
    if (operand.kind == OperandKind::Local || operand.kind == OperandKind::Register) {
      return cells_[operand.index].get();
    }
    return operand.kind == OperandKind::Value ? operand.value : context_->time;
  }

  CallContext& context() const { return *context_; }
  // What every built-in called in this call receives: the current token's
  // default characteristic (or null), the net's log, the net and the token.
  CCharacteristic* characteristic() const { return characteristic_; }
  CSimpleInterface& log() const { return *log_; }
  const PrimitiveContext& primitiveContext() const { return primitiveContext_; }

 private:
  // Replaces slot i's value by `value` (owned). A replaced value the call owned
  // stays alive until the call ends: an argument list may still refer to it.
  void replace(int i, ValuePtr value);
  // Slot i's value when the call owns it, else null.
  CTypedValue* ownedAt(int i) const { return cells_[i].ownsValue() ? cells_[i].get() : nullptr; }

  SmallArray<ValueSlot, kInlineCells> cells_;
  SmallArray<LoopState, kInlineLoops> loops_;
  CallContext* context_;
  PrimitiveContext primitiveContext_;
  CCharacteristic* characteristic_;
  CSimpleInterface* log_;
  std::vector<ValuePtr> retired_;
};
