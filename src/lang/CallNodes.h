// The two call nodes: a call of a built-in (resolved while parsing) and a
// call of a user function or function object (resolved by binding).
// Thread rule: as CExprNode.
#pragma once

#include "lang/Primitive.h"
#include "lang/ExprNode.h"

class CFunction;

class CPrimitiveNode final : public CExprNode {
 public:
  using CExprNode::CExprNode;
  // call -> "(" name {argument} ")"; checks the built-in's arity.
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;
  bool evaluateNumber(ValuePtr& out, double* number, bool* direct, LocalSlots& locals) override;
  const std::string& name() const { return name_; }

 private:
  // Two arguments and a two-number form: numbers skip the general call and
  // give *number (*direct set); anything else gives `out` from the call.
  bool evaluatePair(ValuePtr& out, double* number, bool* direct, LocalSlots& locals);
  // The built-in's own call with the argument values already evaluated.
  bool callFunction(ValuePtr& out, CTypedValue* const* values, LocalSlots& locals) const;

  std::string name_;
  PrimitiveFunction function_ = nullptr;
  NumberPairForm pairForm_ = nullptr;  // set only for a call with two arguments
};

class CUserDefinedNode final : public CExprNode {
 public:
  using CExprNode::CExprNode;
  // call -> "(" name {argument} ")"; the name is entered in the functions table.
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;
  // Binds the arguments, then takes the callee from the functions table;
  // false (without a message: the net reports undefined names) when undefined.
  bool bind() override;
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  int calleeIndex_ = -1;
  CFunction* callee_ = nullptr;
};
