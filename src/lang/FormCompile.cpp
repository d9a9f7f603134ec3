// Compilation of the special forms: conditions become tests that jump, loops
// jump back to their test, and every form leaves its value in its register.
// The rules the tests apply are in Program.cpp.
#include "lang/Forms.h"

#include <vector>

namespace {

Instruction testOf(Op op, const Operand& operand) {
  Instruction made(op);
  made.operand = operand;
  return made;
}

Instruction jumpTo(int target) {
  Instruction made(Op::Jump);
  made.target = target;
  return made;
}

bool isPrepared(const Argument& argument) {
  return argument.kind == ArgumentKind::Constant || argument.kind == ArgumentKind::FrameReference;
}

}  // namespace

// ---- loop bodies --------------------------------------------------------

void CFormNode::compileLastStart(Compiler& compiler, int last) const {
  if (!isPrepared(argument(count() - 1))) compiler.emit(Instruction(Op::Clear, last));
}

void CFormNode::compileBody(Compiler& compiler, int from, int last) const {
  for (int i = from; i < count() - 1; ++i) compileEffect(compiler, i);
  const int i = count() - 1;
  if (isMade(i)) {
    compileArgument(compiler, i, last);
  } else if (!isPrepared(argument(i))) {
    Instruction capture(Op::Capture, last);
    capture.operand = compileArgument(compiler, i, -1);
    compiler.emit(capture);
  }
}

void CFormNode::compileLastValue(Compiler& compiler, int last, int dest) const {
  const Argument& source = argument(count() - 1);
  if (isPrepared(source)) {
    compileOwned(compiler, count() - 1, dest);
    return;
  }
  Instruction keep(Op::KeepLast, dest);
  keep.operand = Operand{OperandKind::Register, last, nullptr};
  keep.slot = source.kind == ArgumentKind::Local ? source.index : -1;
  compiler.emit(keep);
}

// ---- the forms ----------------------------------------------------------

void CIfNode::compile(Compiler& compiler, int dest) const {
  const int mark = compiler.registerMark();
  const int toElse = compiler.emit(testOf(Op::IfFalse, compileRead(compiler, 0)));
  compiler.giveBackRegisters(mark);
  compileOwned(compiler, 1, dest);
  const int toEnd = compiler.emit(jumpTo(-1));
  compiler.landHere(toElse);
  compileOwned(compiler, 2, dest);
  compiler.landHere(toEnd);
}

void CFormNode::compileShortCircuit(Compiler& compiler, int dest, Op test, double completed, double stopped) const {
  std::vector<int> toStopped;
  for (int i = 0; i < count(); ++i) {
    const int mark = compiler.registerMark();
    toStopped.push_back(compiler.emit(testOf(test, compileRead(compiler, i))));
    compiler.giveBackRegisters(mark);
  }
  Instruction result(Op::SetNumber, dest);
  result.number = completed;
  compiler.emit(result);
  const int toEnd = compiler.emit(jumpTo(-1));
  for (int at : toStopped) compiler.landHere(at);
  result.number = stopped;
  compiler.emit(result);
  compiler.landHere(toEnd);
}

// The first argument that is false or gives nothing makes the result 0.0.
void CAndNode::compile(Compiler& compiler, int dest) const { compileShortCircuit(compiler, dest, Op::AndFalse, 1.0, 0.0); }

// The first argument that is true or gives nothing makes the result 1.0.
void COrNode::compile(Compiler& compiler, int dest) const { compileShortCircuit(compiler, dest, Op::OrTrue, 0.0, 1.0); }

// A value the let makes lands in its own register, which then is the result;
// a call that makes it stores it into the variable itself.
void CLetNode::compile(Compiler& compiler, int dest) const {
  Instruction let(Op::Let, dest);
  let.slot = variable_;
  let.operand = compileArgument(compiler, 0, dest);
  Instruction* call = isMade(0) ? compiler.lastCallInto(dest) : nullptr;
  if (call != nullptr) {
    call->slot = variable_;
  } else {
    compiler.emit(let);
  }
}

// The result is the last argument's value after the loop, or 0.0.
void CWhileNode::compile(Compiler& compiler, int dest) const {
  const int mark = compiler.registerMark();
  const int last = compiler.takeRegister();
  compileLastStart(compiler, last);
  const int toCondition = compiler.emit(jumpTo(-1));
  const int body = compiler.next();
  compileBody(compiler, 1, last);
  compiler.landHere(toCondition);
  Instruction loop = testOf(Op::WhileTrue, compileRead(compiler, 0));
  loop.target = body;
  compiler.emit(loop);
  compileLastValue(compiler, last, dest);
  compiler.emit(Instruction(Op::ZeroIfNone, dest));
  compiler.giveBackRegisters(mark);
}

// The variable is set to the call's own 0.0 before the bounds are evaluated,
// each checked for a number as soon as it is there.
void CForNode::compileStart(Compiler& compiler, int loop) const {
  static const char* const kBounds[] = {"the start of for", "the end of for", "the step of for"};
  Instruction counter(Op::ForCounter);
  counter.loop = loop;
  counter.slot = variable_;
  compiler.emit(counter);
  for (int bound = 0; bound < 3; ++bound) {
    const int mark = compiler.registerMark();
    Instruction read(Op::ForBound);
    read.loop = loop;
    read.slot = bound;
    read.what = kBounds[bound];
    read.operand = compileRead(compiler, bound);
    compiler.emit(read);
    compiler.giveBackRegisters(mark);
  }
}

// The result is the last argument's value after the loop (the step when
// there is no body).
void CForNode::compile(Compiler& compiler, int dest) const {
  const int mark = compiler.registerMark();
  Instruction loop(Op::ForStart);
  loop.loop = compiler.takeLoop();
  compileStart(compiler, loop.loop);
  const bool hasBody = count() > 3;
  const int last = hasBody ? compiler.takeRegister() : -1;
  if (hasBody) compileLastStart(compiler, last);
  const int toEnd = compiler.emit(loop);
  const int body = compiler.next();
  if (hasBody) compileBody(compiler, 3, last);
  loop.op = Op::ForStep;
  loop.target = body;
  compiler.emit(loop);
  compiler.landHere(toEnd);
  if (hasBody) {
    compileLastValue(compiler, last, dest);
  } else {
    Instruction step(Op::ForStepValue, dest);
    step.loop = loop.loop;
    compiler.emit(step);
  }
  compiler.giveBackRegisters(mark);
}

// The result is the collection's value, a variable's read afresh.
void CForEachNode::compile(Compiler& compiler, int dest) const {
  const int mark = compiler.registerMark();
  Instruction loop(Op::ForEachStart);
  loop.loop = compiler.takeLoop();
  loop.slot = variable_;
  loop.operand = compileRead(compiler, 0);
  compiler.emit(loop);
  const int toNext = compiler.emit(jumpTo(-1));
  const int body = compiler.next();
  for (int i = 1; i < count(); ++i) compileEffect(compiler, i);
  compiler.landHere(toNext);
  loop.op = Op::ForEachNext;
  loop.target = body;
  compiler.emit(loop);
  Instruction keep(Op::Keep, dest);
  keep.operand = loop.operand;
  compiler.emit(keep);
  compiler.giveBackRegisters(mark);
}
