// Argument lists of expression nodes: classification and parsing of each
// argument, binding of frame references, and compiling the arguments.
#include "lang/ExprNode.h"

#include "base/SimpleInterface.h"
#include "lang/Primitive.h"
#include "lang/Expression.h"
#include "lang/Reader.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Token.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <utility>

// ---- classification and parsing -----------------------------------------

TokenClass classifyToken(const CExpression& owner, std::string_view token, int* slot) {
  if (token.starts_with('#')) return TokenClass::FrameReference;
  if (token == "(") return TokenClass::Open;
  if (token == ")") return TokenClass::Close;
  if (isNumeric(token) || isStringLiteral(token) || isVectorLiteral(token)) return TokenClass::Literal;
  if (token == "time") return TokenClass::Time;
  if (token == "token") return TokenClass::Token;
  if (token == "tokenobj") return TokenClass::TokenObject;
  if (int index = owner.localIndex(token); index >= 0) {
    *slot = index;
    return TokenClass::Local;
  }
  int arity = 0;
  PrimitiveFunction function = nullptr;
  if (findPrimitive(token, &arity, &function)) return TokenClass::Primitive;
  return TokenClass::Other;
}

void reportStreamFailure(CSourceStream& in, CSimpleInterface& log) {
  if (!in.failed() || in.failureReported()) return;
  in.setFailureReported();
  log.write("GNVCFL syntax error: token longer than its limit (" + std::to_string(kMaxTokenLength) + " characters, " +
            std::to_string(kMaxFrameTokenLength) + " for a function frame).");
}

bool syntaxError(CSimpleInterface& log, CSourceStream& in, std::string_view message) {
  if (in.failed()) {
    reportStreamFailure(in, log);
  } else {
    log.write(message);
  }
  return false;
}

CSimpleInterface& CExprNode::log() const { return owner_->net().log(); }

bool CExprNode::parseArguments(CSourceStream& in) {
  int count = countItems(in, true);
  if (count < 0) {
    reportStreamFailure(in, log());
    return false;
  }
  arguments_.clear();
  arguments_.resize(static_cast<std::size_t>(count));
  std::string token;
  for (std::size_t i = 0; readToken(in, token) && token != ")"; ++i) {
    assert(i < arguments_.size());
    if (!parseArgument(in, token, arguments_[i])) return false;
  }
  if (in.failed()) {
    reportStreamFailure(in, log());
    return false;
  }
  return true;
}

bool CExprNode::parseArgument(CSourceStream& in, const std::string& token, Argument& argument) {
  int slot = 0;
  switch (classifyToken(*owner_, token, &slot)) {
    case TokenClass::Open: return parseSubExpression(in, argument);
    case TokenClass::FrameReference: return parseFrameReference(in, token, argument);
    case TokenClass::Literal:
      argument.kind = ArgumentKind::Constant;
      argument.value.adopt(literalValue(token));
      if (argument.value.get() == nullptr) {
        return syntaxError(log(), in, "GNVCFL syntax error: " + valueLimitMessage("literal " + token));
      }
      return true;
    case TokenClass::Local:
      argument.kind = ArgumentKind::Local;
      argument.index = slot;
      return true;
    case TokenClass::Token: argument.kind = ArgumentKind::Token; return true;
    case TokenClass::Time: argument.kind = ArgumentKind::Time; return true;
    case TokenClass::TokenObject: argument.kind = ArgumentKind::TokenObject; return true;
    case TokenClass::Other:
      // Entered as a referenced name, so binding reports it as undefined too.
      owner_->net().functionsTable().indexOf(token);
      return syntaxError(log(), in, "GNVCFL syntax error: Unknown identifier.");
    case TokenClass::Close:
    case TokenClass::Primitive: break;
  }
  return syntaxError(log(), in, "GNVCFL syntax error: Unknown identifier.");
}

bool CExprNode::parseSubExpression(CSourceStream& in, Argument& argument) {
  std::string head;
  // "()" and "((" have no head word: neither names a function.
  if (!peekToken(in, head) || head == ")" || head == "(") {
    return syntaxError(log(), in, "GNVCFL syntax error: function name expected.");
  }
  if (head.size() > kMaxHeadWord) {
    syntaxError(log(), in, "GNVCFL syntax error: function name longer than " + std::to_string(kMaxHeadWord) + " characters.");
    log().write(head);
    return false;
  }
  if (depth_ >= kMaxParseNesting) {
    return syntaxError(log(), in,
                       "GNVCFL syntax error: expressions nested deeper than " + std::to_string(kMaxParseNesting) + ".");
  }
  std::unique_ptr<CExprNode> child = makeNode(*owner_, head);
  if (!child) return false;
  child->depth_ = depth_ + 1;
  owner_->noteNesting(child->depth_);
  if (!child->parse(in)) return false;
  argument.kind = ArgumentKind::SubExpression;
  argument.child = std::move(child);
  return true;
}

bool CExprNode::parseFrameReference(CSourceStream& in, const std::string& token, Argument& argument) {
  std::string_view position = std::string_view(token).substr(1);
  if (!isNumeric(position)) return syntaxError(log(), in, "GNVCFL syntax error: #<number> expected");
  argument.kind = ArgumentKind::FrameReference;
  argument.index = std::atoi(token.c_str() + 1);
  return true;
}

// ---- binding ------------------------------------------------------------

bool CExprNode::bind() {
  bool bound = true;
  for (Argument& argument : arguments_) {
    if (argument.kind == ArgumentKind::FrameReference && !bindFrameReference(argument)) bound = false;
    if (argument.child && !argument.child->bind()) bound = false;
  }
  return bound;
}

// A characteristic is passed as its live value (borrowed), so the body always
// sees its current value; any other frame object as a reference to it.
bool CExprNode::bindFrameReference(Argument& argument) {
  int framePosition = argument.index;
  if (framePosition < 0 || framePosition >= owner_->frameSize()) {
    log().write("GNVCFL binding error: frame reference outside the function frame: #" +
                std::to_string(framePosition));
    log().write(owner_->name());
    return false;
  }
  CBaseObject* object = owner_->frameEntry(framePosition);
  assert(object != nullptr);
  if (object->kind() == kKindCharacteristic) {
    argument.value.borrow(&static_cast<CCharacteristic*>(object)->value());
  } else {
    argument.value.adopt(std::make_unique<CObjectValue>(object));
  }
  return true;
}

// ---- compilation --------------------------------------------------------

bool CExprNode::isMade(int i) const {
  const ArgumentKind kind = argument(i).kind;
  return kind == ArgumentKind::SubExpression || kind == ArgumentKind::Token || kind == ArgumentKind::TokenObject;
}

Operand CExprNode::compileArgument(Compiler& compiler, int i, int target) const {
  const Argument& source = argument(i);
  switch (source.kind) {
    case ArgumentKind::Local: return Operand{OperandKind::Local, source.index, nullptr};
    case ArgumentKind::Time: return Operand{OperandKind::Time, 0, nullptr};
    case ArgumentKind::Constant:
    case ArgumentKind::FrameReference: return Operand{OperandKind::Value, 0, source.value.get()};
    case ArgumentKind::SubExpression: source.child->compile(compiler, target); break;
    case ArgumentKind::Token: compiler.emit(Instruction(Op::Token, target)); break;
    case ArgumentKind::TokenObject: compiler.emit(Instruction(Op::TokenObject, target)); break;
  }
  return Operand{OperandKind::Register, target, nullptr};
}

Operand CExprNode::compileRead(Compiler& compiler, int i) const {
  return compileArgument(compiler, i, isMade(i) ? compiler.takeRegister() : -1);
}

void CExprNode::compileOwned(Compiler& compiler, int i, int dest) const {
  if (isMade(i)) {
    compileArgument(compiler, i, dest);
    return;
  }
  Instruction keep(Op::Keep, dest);
  keep.operand = compileArgument(compiler, i, -1);
  compiler.emit(keep);
}

void CExprNode::compileEffect(Compiler& compiler, int i) const {
  if (!isMade(i)) return;  // reading a variable, literal or the time does nothing
  const int mark = compiler.registerMark();
  compileArgument(compiler, i, compiler.takeRegister());
  compiler.giveBackRegisters(mark);
}

void CExprNode::compileCall(Compiler& compiler, Instruction call) const {
  const int mark = compiler.registerMark();
  int lastMade = -1;
  for (int i = 0; i < count(); ++i) {
    if (isMade(i)) lastMade = i;
  }
  std::vector<Operand> operands;
  operands.reserve(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); ++i) {
    if (argument(i).kind == ArgumentKind::Local && i < lastMade) {
      Instruction capture(Op::Capture, compiler.takeRegister());
      capture.operand = compileArgument(compiler, i, -1);
      compiler.emit(capture);
      operands.push_back(Operand{OperandKind::Register, capture.dest, nullptr});
    } else {
      operands.push_back(compileRead(compiler, i));
    }
  }
  call.first = compiler.addOperands(operands);
  call.count = count();
  call.temporaries = static_cast<int>(std::count_if(
      operands.begin(), operands.end(), [](const Operand& operand) { return operand.kind == OperandKind::Register; }));
  compiler.emit(call);
  compiler.giveBackRegisters(mark);
}
