// The two call nodes: a call of a built-in (resolved while parsing) and a
// call of a user function or function object (resolved by binding).
// Thread rule: as CExprNode.
#pragma once

#include "lang/CallFrame.h"
#include "lang/ExprNode.h"
#include "lang/Primitive.h"

class CFunction;

class CPrimitiveNode final : public CExprNode {
 public:
  using CExprNode::CExprNode;
  // call -> "(" name {argument} ")"; checks the built-in's arity.
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  PrimitiveFunction function_ = nullptr;
};

class CUserDefinedNode final : public CExprNode {
 public:
  using CExprNode::CExprNode;
  // call -> "(" name {argument} ")"; the name is entered in the functions table.
  bool parse(CSourceStream& in) override;
  // Binds the arguments, then takes the callee from the functions table;
  // false (without a message: the net reports undefined names) when undefined.
  bool bind() override;
  void compile(Compiler& compiler, int dest) const override;
  const std::string& name() const { return name_; }
  // The call itself, with its arguments' values (borrowed): a user function
  // runs nested as deep as this call sits, and gives its value to `out`
  // (empty on entry); a function object runs for the context's token and gives
  // none. False after a report.
  bool call(ValueSlot& out, CTypedValue* const* values, CallContext& context) const;

 private:
  std::string name_;
  int calleeIndex_ = -1;
  CFunction* callee_ = nullptr;
  CExpression* expression_ = nullptr;  // the callee, when it is a user function
};
