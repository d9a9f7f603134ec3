// The special forms of GNVCFL: for, while, foreach, if, let, and, or. Each
// parses its own syntax and evaluates its arguments by its own rule.
// Thread rule: as CExprNode.
#pragma once

#include "lang/ExprNode.h"

class CFormNode : public CExprNode {
 public:
  using CExprNode::CExprNode;

 protected:
  // Reads the form's head word (already known) and discards it.
  bool skipHead(CSourceStream& in);
  // Reads the next token, which must name a local; its slot goes to `slot`.
  bool readLocal(CSourceStream& in, int* slot);
  // Evaluates argument i, which must give a number; false after a report.
  bool evaluateNumber(int i, ArgumentValues& values, LocalSlots& locals, const char* what, double* number) const;
};

// (for var from to step body...)
class CForNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;

 private:
  bool runLoop(std::int64_t from, std::int64_t to, std::int64_t step, CDoubleValue& counter, ArgumentValues& values,
               LocalSlots& locals) const;
  int variable_ = 0;
};

// (while condition body...)
class CWhileNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;

 private:
  bool conditionHolds(LocalSlots& locals, bool* holds) const;
};

// (foreach var in collection body...)
class CForEachNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;

 private:
  int variable_ = 0;
};

// (if condition then else)
class CIfNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;
};

// (let var value)
class CLetNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;

 private:
  int variable_ = 0;
};

// (and argument...)
class CAndNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;
};

// (or argument...)
class COrNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  bool evaluate(ValuePtr& out, LocalSlots& locals) override;
};
