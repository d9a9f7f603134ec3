// The special forms of GNVCFL: for, while, foreach, if, let, and, or. Each
// parses its own syntax and compiles its arguments to the tests, jumps and
// loops of its own rule.
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
  // Before a loop: register `last` holds nothing, unless the last argument is
  // a literal or frame reference, which is its own value unevaluated.
  void compileLastStart(Compiler& compiler, int last) const;
  // A loop's body: arguments from..count-1 for their effects, the last one's
  // value left in register `last`.
  void compileBody(Compiler& compiler, int from, int last) const;
  // After the loop: dest := the last argument's value as the body left it,
  // a variable's read afresh (the loop may have replaced it).
  void compileLastValue(Compiler& compiler, int last, int dest) const;
  // and, or: each argument in turn goes through `test`, which may stop the
  // form; dest := `completed` when none did, else `stopped`.
  void compileShortCircuit(Compiler& compiler, int dest, Op test, double completed, double stopped) const;
};

// (for var from to step body...)
class CForNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;

 private:
  // The counter and the three bounds of loop `loop`.
  void compileStart(Compiler& compiler, int loop) const;

  int variable_ = 0;
};

// (while condition body...)
class CWhileNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;
};

// (foreach var in collection body...)
class CForEachNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;

 private:
  int variable_ = 0;
};

// (if condition then else)
class CIfNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;
};

// (let var value)
class CLetNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;

 private:
  int variable_ = 0;
};

// (and argument...)
class CAndNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;
};

// (or argument...)
class COrNode final : public CFormNode {
 public:
  using CFormNode::CFormNode;
  bool parse(CSourceStream& in) override;
  void compile(Compiler& compiler, int dest) const override;
};
