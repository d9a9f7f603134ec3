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
  if (count() == 2) pairForm_ = findNumberPairForm(function_);
  return true;
}

bool CPrimitiveNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  if (pairForm_ != nullptr) {
    double number = 0.0;
    bool direct = false;
    if (!evaluatePair(out, &number, &direct, locals)) return false;
    if (direct) out = std::make_unique<CDoubleValue>(number);
    return true;
  }
  ArgumentValues values(*this);
  if (!evaluateArguments(values, locals, 0)) return false;
  return callFunction(out, values.data(), locals);
}

bool CPrimitiveNode::evaluateNumber(ValuePtr& out, double* number, bool* direct, LocalSlots& locals) {
  if (pairForm_ != nullptr) return evaluatePair(out, number, direct, locals);
  *direct = false;
  return evaluate(out, locals);
}

// The arguments are evaluated in order, as for any call; only the built-in's
// general argument checks and value handling are skipped.
bool CPrimitiveNode::evaluatePair(ValuePtr& out, double* number, bool* direct, LocalSlots& locals) {
  ValuePtr owned[2];
  CTypedValue* values[2] = {nullptr, nullptr};
  *direct = false;
  if (!evaluateAlone(0, owned[0], values[0], locals) || !evaluateAlone(1, owned[1], values[1], locals)) return false;
  const CDoubleValue* a = asNumber(values[0]);
  const CDoubleValue* b = asNumber(values[1]);
  if (a != nullptr && b != nullptr && pairForm_(a->number(), b->number(), number)) {
    *direct = true;
    return true;
  }
  return callFunction(out, values, locals);
}

bool CPrimitiveNode::callFunction(ValuePtr& out, CTypedValue* const* values, LocalSlots& locals) const {
  CAbstractTransition& net = owner().net();
  CToken* token = locals.context().token;
  CCharacteristic* characteristic = token != nullptr ? token->defaultCharacteristic() : nullptr;
  PrimitiveContext context{&net, token};
  return function_(count(), out, values, characteristic, net.log(), context) != 0;
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
  return argumentsBound && callee_ != nullptr;
}

// A function object (not an expression) runs for the current token and its
// nonzero result is success; it gives no value.
bool CUserDefinedNode::evaluate(ValuePtr& out, LocalSlots& locals) {
  ArgumentValues values(*this);
  if (!evaluateArguments(values, locals, 0)) return false;
  if (callee_->isExpression()) {
    return static_cast<CExpression*>(callee_)->call(out, values.data(), count(), locals.context());
  }
  return callee_->execute(locals.context().token, nullptr, 0) != 0;
}
