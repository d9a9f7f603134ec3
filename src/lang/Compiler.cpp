// The Compiler's bookkeeping: the code, the calls' operands, registers in
// stack order, loops, and where jumps land.
#include "lang/Program.h"

Compiler::Compiler(Program& program, int slotCount) : program_(program), inUse_(slotCount + 1) {
  program_ = Program();
  program_.resultCell_ = slotCount;
  program_.cellCount_ = inUse_;
}

int Compiler::emit(const Instruction& instruction) {
  program_.code_.push_back(instruction);
  return next() - 1;
}

int Compiler::addOperands(const std::vector<Operand>& operands) {
  const int first = static_cast<int>(program_.operands_.size());
  program_.operands_.insert(program_.operands_.end(), operands.begin(), operands.end());
  return first;
}

Instruction* Compiler::lastCallInto(int dest) {
  if (program_.code_.empty() || landing_ == next()) return nullptr;
  Instruction& last = program_.code_.back();
  const bool isCall = last.op == Op::CallBuiltIn || last.op == Op::CallFunction;
  return isCall && last.dest == dest && last.slot < 0 ? &last : nullptr;
}

int Compiler::takeRegister() {
  const int taken = inUse_++;
  if (inUse_ > program_.cellCount_) program_.cellCount_ = inUse_;
  return taken;
}
