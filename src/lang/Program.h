// Program: a user function's body compiled to the instructions of Code.h,
// prepared once when the function is bound and run for every call; and
// Compiler, through which the expression nodes emit it.
// Thread rule: compiled while the net binds, then run by the thread stepping it.
#pragma once

#include "lang/Code.h"

#include <vector>

class CallFrame;

// A call's cells are its variable slots, then its registers; the first
// register receives the body's value.
class Program {
 public:
  int cellCount() const { return cellCount_; }
  int loopCount() const { return loopCount_; }
  int resultCell() const { return resultCell_; }
  // Runs the body in `frame`, leaving its value in the result cell. False
  // after a runtime error report, or when a let had no value to store.
  bool run(CallFrame& frame) const;

 private:
  friend class Compiler;

  std::vector<Instruction> code_;
  std::vector<Operand> operands_;  // the calls' operands, each call's together
  int resultCell_ = 0;
  int cellCount_ = 0;
  int loopCount_ = 0;
};

class Compiler {
 public:
  // Starts `program` afresh for a function of `slotCount` variable slots.
  Compiler(Program& program, int slotCount);
  Compiler(const Compiler&) = delete;
  Compiler& operator=(const Compiler&) = delete;

  // Appends an instruction and gives its index.
  int emit(const Instruction& instruction);
  // The index the next instruction will have.
  int next() const { return static_cast<int>(program_.code_.size()); }
  // The jump at `at` goes to the next instruction.
  void landHere(int at) {
    program_.code_[static_cast<std::size_t>(at)].target = next();
    landing_ = next();
  }
  // The call just emitted into register `dest`, when no jump lands after it
  // (what follows runs only after it) and it stores into no variable yet;
  // else null.
  Instruction* lastCallInto(int dest);
  // Stores a call's operands together; the index of the first.
  int addOperands(const std::vector<Operand>& operands);

  // The register that receives the body's value.
  int resultRegister() const { return program_.resultCell_; }
  // Registers are taken and given back in stack order: a node's registers
  // lie above the one its value goes to.
  int takeRegister();
  int registerMark() const { return inUse_; }
  void giveBackRegisters(int mark) { inUse_ = mark; }
  int takeLoop() { return program_.loopCount_++; }

 private:
  Program& program_;
  int inUse_;
  int landing_ = 0;  // the furthest instruction a jump lands on so far
};
