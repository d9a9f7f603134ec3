// Calls of built-ins and of user functions, and makeNode, which picks the
// node class a head word names.
#include "lang/CallNodes.h"

#include "lang/Expression.h"
#include "lang/Forms.h"
#include "lang/Reader.h"
#include "model/AbstractTransition.h"
#include "model/Token.h"

#include <cstdio>

std::unique_ptr<CExprNode> makeNode(CExpression& owner, const std::string& head) {
  int arity = 0;
  PrimitiveFunction function = nullptr;
  if (findPrimitive(head, &arity, &function)) return std::make_unique<CPrimitiveNode>(owner);
  if (head == "foreach") return std::make_unique<CForEachNode>(owner);
  if (head == "for") return std::make_unique<CForNode>(owner);
  if (head == "while") return std::make_unique<CWhileNode>(owner);
  if (head == "if") return std::make_unique<CIfNode>(owner);
  if (head == "let") return std::make_unique<CLetNode>(owner);
  if (head == "and") return std::make_unique<CAndNode>(owner);
  if (head == "or") return std::make_unique<COrNode>(owner);
  if (owner.net().functionsTable().indexOf(head) < 0) return nullptr;
  return std::make_unique<CUserDefinedNode>(owner);
}

// ---- CPrimitiveNode -----------------------------------------------------

bool CPrimitiveNode::parse(CSourceStream& in) {
  if (!readToken(in, name_) || !parseArguments(in)) return false;
  int arity = 0;
  if (!findPrimitive(name_, &arity, &function_)) return false;
  if (arity != -1 && arity != count()) {
    std::string message = "GNVCFL syntax error: Wrong number of arguments in '" + name_ + "'\n";
    std::fwrite(message.data(), 1, message.size(), stderr);
    return false;
  }
  return true;
}

// The built-in is called with its arguments where they lie once the code
// for the made ones has run.
void CPrimitiveNode::compile(Compiler& compiler, int dest) const {
  Instruction call(Op::CallBuiltIn, dest);
  call.builtIn = function_;
  compileCall(compiler, call);
}

// ---- CUserDefinedNode ---------------------------------------------------

bool CUserDefinedNode::parse(CSourceStream& in) {
  if (!readToken(in, name_) || !parseArguments(in)) return false;
  calleeIndex_ = owner().net().functionsTable().indexOf(name_);
  return calleeIndex_ >= 0;
}

bool CUserDefinedNode::bind() {
  bool argumentsBound = CExprNode::bind();
  callee_ = static_cast<CFunction*>(owner().net().functionsTable().objectAt(calleeIndex_));
  if (callee_ != nullptr && callee_->isExpression()) expression_ = static_cast<CExpression*>(callee_);
  return argumentsBound && callee_ != nullptr;
}

void CUserDefinedNode::compile(Compiler& compiler, int dest) const {
  Instruction call(Op::CallFunction, dest);
  call.call = this;
  compileCall(compiler, call);
}

bool CUserDefinedNode::call(ValueSlot& out, CTypedValue* const* values, CallContext& context) const {
  if (expression_ == nullptr) return callee_->execute(context.token, nullptr, 0) != 0;
  const int callerDepth = context.depth;
  context.depth += depth();
  const bool called = expression_->call(out, values, count(), context);
  context.depth = callerDepth;
  return called;
}
