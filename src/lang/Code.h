// The instruction set a user function's body is compiled to once it is bound:
// a flat list of instructions over the call's registers (value slots for what
// evaluation makes), its variable slots, the literals and frame references of
// its expression tree, and the net call's time. Calls of built-ins and of user
// functions read their arguments where they lie; the special forms become
// tests and jumps, with the loops' own state kept per call.
// Thread rule: built while the net binds its functions, then only read.
#pragma once

#include "lang/Primitive.h"

#include <cstdint>

class CUserDefinedNode;

// Where an instruction finds a value. A call's variable slots and registers
// are the cells of its frame, slots first.
enum class OperandKind : std::uint8_t {
  Local,     // a variable slot, read when the instruction runs
  Register,  // a register: a value evaluation made, or a captured variable
  Value,     // a literal or a bound frame reference, borrowed from the expression tree
  Time,      // the net call's time
};

struct Operand {
  OperandKind kind = OperandKind::Value;
  int index = 0;                 // Local and Register: the cell
  CTypedValue* value = nullptr;  // Value only
};

enum class Op : std::uint8_t {
  // dest := the built-in's result for the `count` operands from `first`;
  // the registers among them (`temporaries` of them), which held made
  // arguments, are emptied afterwards. When `slot` >= 0 the call is a let's
  // value and goes on as Let does: variable `slot` := dest.
  CallBuiltIn,
  // dest := the call of `call`'s callee (a user function, or a function object
  // that gives no value), likewise.
  CallFunction,
  // dest := a copy of the current token's default characteristic's value.
  Token,
  // dest := a reference to the current token.
  TokenObject,
  // dest := `operand`, borrowed: a variable read at its place in an argument
  // list, before a later argument may replace the variable's value.
  Capture,
  // dest := a value of its own equal to `operand`'s (a register's moves).
  Keep,
  // dest := a loop's last value, held in register `operand.index`: moved when
  // made, else a copy, read afresh from the variable `slot` when that is >= 0.
  KeepLast,
  // dest := 0.0 when it holds nothing.
  ZeroIfNone,
  // dest := `number`.
  SetNumber,
  // dest := nothing.
  Clear,
  // variable `slot` := `operand` (assigned, or copied into an empty slot);
  // dest := a value of its own equal to it. Fails without a report when the
  // operand has no value.
  Let,
  // Goes to `target`.
  Jump,
  // if: `operand` must have a value; goes to `target` unless it is a nonzero number.
  IfFalse,
  // while: `operand` must be a number; goes to `target` (the body) when it
  // counts as true. The test follows the body, so a loop costs one jump a turn.
  WhileTrue,
  // and: `operand` must be a number or nothing; goes to `target` when false or nothing.
  AndFalse,
  // or: `operand` must be a number or nothing; goes to `target` when true or nothing.
  OrTrue,
  // for: variable `slot` holds the call's own number 0.0; loop `loop` counts with it.
  ForCounter,
  // for: `operand` must be a number (`what` names it): bound `slot` (0 start,
  // 1 end, 2 step) of loop `loop`.
  ForBound,
  // for: goes to `target` (past the loop) unless its bounds and step let it
  // run; else the counter takes the start.
  ForStart,
  // for: steps the count; while it has not passed the end, the counter takes
  // it and the run goes to `target` (the body).
  ForStep,
  // dest := the step of loop `loop`, a number as it was given.
  ForStepValue,
  // foreach: `operand` must be a reference to a place; variable `slot` holds
  // the call's own reference, loop `loop` walks the place's token entries.
  ForEachStart,
  // foreach: while entries remain, the reference names the next one's token
  // and the run goes to `target` (the body).
  ForEachNext,
};

struct Instruction {
  explicit Instruction(Op op, int dest = -1) : op(op), dest(dest) {}

  Op op;
  int dest;             // the register (cell) written
  int target = -1;      // jumps: the instruction to go to
  int slot = -1;        // a variable slot, or ForBound's bound
  int loop = -1;        // the loop state of for and foreach
  int first = 0;        // calls: the first of their operands in the program
  int count = 0;        // calls: how many
  int temporaries = 0;  // calls: how many of their operands are registers
  Operand operand;
  double number = 0.0;
  PrimitiveFunction builtIn = nullptr;
  const CUserDefinedNode* call = nullptr;
  const char* what = nullptr;  // ForBound: the bound's name in its runtime error
};
