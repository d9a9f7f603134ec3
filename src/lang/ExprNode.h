// CExprNode: the base of GNVCFL expression nodes, with the uniform argument
// list every node keeps (constants, locals, frame references, context words,
// sub-expressions), its parsing, binding and per-evaluation argument values.
// Thread rule: parsed while the net loads, evaluated by the thread stepping it.
#pragma once

#include "lang/CallFrame.h"
#include "lang/SourceStream.h"
#include "lang/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CExpression;
class CExprNode;
class CSimpleInterface;

// Call head words have at most this many characters (the node's name field).
constexpr std::size_t kMaxHeadWord = 99;
// Sub-expressions nested deeper than this in one definition are refused.
constexpr int kMaxParseNesting = 200;

enum class ArgumentKind : int {
  SubExpression = 0,
  Constant = 1,
  FrameReference = 2,
  Local = 3,
  Token = 4,
  Time = 5,
  TokenObject = 6,
};

// One entry of a node's argument list.
struct Argument {
  ArgumentKind kind;
  // Local: the slot. FrameReference: the frame position until bound, then -1
  // when the node owns the bound value, else the argument's own position.
  int index = 0;
  std::unique_ptr<CExprNode> child;  // SubExpression only
  ValuePtr owned;                    // a Constant, or a bound reference's object value
  CTypedValue* value = nullptr;      // Constant and bound FrameReference: what evaluation passes
};

// The argument values of one evaluation of a node: constants and bound frame
// references as prepared, the others filled by evaluation. Entries made by
// the evaluation (sub-expression results, token copies, token objects) are
// owned here and deleted on release or destruction.
// Invariant: owned_[i] is true only while values_[i] is a value this object owns.
class ArgumentValues {
 public:
  // Nodes with at most this many arguments keep their values on the stack.
  static constexpr int kInlineArguments = 8;

  explicit ArgumentValues(const CExprNode& node);
  ~ArgumentValues() {
    for (int i = 0; i < count_; ++i) drop(i);
  }
  ArgumentValues(const ArgumentValues&) = delete;
  ArgumentValues& operator=(const ArgumentValues&) = delete;

  CTypedValue* at(int i) const { return values_[i]; }
  CTypedValue* const* data() const { return values_; }
  void borrow(int i, CTypedValue* value) {
    drop(i);
    values_[i] = value;
  }
  void adopt(int i, ValuePtr value) {
    drop(i);
    owned_[i] = value != nullptr;
    values_[i] = value.release();
  }
  // Drops the entries from position `from` on that evaluation filled.
  void release(int from);
  // The value of entry i for a caller that will own it: an owned entry moves
  // out, a borrowed one is cloned (a local read afresh from its slot); null
  // when the entry holds no value.
  ValuePtr resultOf(int i, const LocalSlots& locals);

 private:
  // Deletes entry i when owned; the entry itself is left as it is.
  void drop(int i) {
    if (owned_[i]) ValuePtr{values_[i]}.reset();
    owned_[i] = false;
  }

  const CExprNode& node_;
  int count_;
  // Only the first count_ entries are set.
  CTypedValue* inlineValues_[kInlineArguments];
  bool inlineOwned_[kInlineArguments];
  std::unique_ptr<CTypedValue*[]> heapValues_;
  std::unique_ptr<bool[]> heapOwned_;
  CTypedValue** values_;
  bool* owned_;
};

class CExprNode : public CBaseObject {
 public:
  explicit CExprNode(CExpression& owner) : owner_(&owner) {}
  CExprNode(const CExprNode&) = delete;
  CExprNode& operator=(const CExprNode&) = delete;

  // Reads the node from its head word (the "(" was consumed) through its ")".
  // False after a syntax message (none for an unbalanced list).
  virtual bool parse(CSourceStream& in) = 0;
  // Computes the node's value into `out` (null on entry; the caller owns what
  // is stored, or it stays null: no value). False after a runtime error report.
  virtual bool evaluate(ValuePtr& out, LocalSlots& locals) = 0;
  // evaluate for a caller that only tests a number: a node that can give its
  // number without making a value sets *number and *direct; otherwise *direct
  // is false and `out` is as evaluate leaves it.
  virtual bool evaluateNumber(ValuePtr& out, [[maybe_unused]] double* number, bool* direct, LocalSlots& locals) {
    *direct = false;
    return evaluate(out, locals);
  }
  // Resolves frame references (and callees); false after a log message.
  virtual bool bind();

  // argument-list -> { argument } ")"
  // Reads the arguments through the closing parenthesis; false after a syntax
  // message, or without one when the list is unbalanced.
  bool parseArguments(CSourceStream& in);

  int count() const { return static_cast<int>(arguments_.size()); }
  const Argument& argument(int i) const { return arguments_[static_cast<std::size_t>(i)]; }
  CExpression& owner() const { return *owner_; }

 protected:
  // Fills entry i of `values`; false after a runtime error report.
  bool evaluateArgument(int i, ArgumentValues& values, LocalSlots& locals) const {
    const Argument& argument = arguments_[static_cast<std::size_t>(i)];
    switch (argument.kind) {
      case ArgumentKind::Constant:
      case ArgumentKind::FrameReference: return true;  // prepared
      case ArgumentKind::Local: values.borrow(i, locals.at(argument.index)); return true;
      default: return evaluateComputed(argument, i, values, locals);
    }
  }
  // Argument i on its own, for forms that take their arguments one at a time:
  // `value` is its value (null: none); `owned` holds it when the evaluation
  // made it. False after a runtime error report. The prepared kinds are read
  // here, at each call site, so that their test is predicted per site.
  bool evaluateAlone(int i, ValuePtr& owned, CTypedValue*& value, LocalSlots& locals) const {
    const Argument& argument = arguments_[static_cast<std::size_t>(i)];
    switch (argument.kind) {
      case ArgumentKind::Constant:
      case ArgumentKind::FrameReference: value = argument.value; return true;
      case ArgumentKind::Local: value = locals.at(argument.index); return true;
      default: return evaluateAloneComputed(argument, owned, value, locals);
    }
  }
  // evaluateAlone for a test of a number (while, if): a sub-expression that
  // gives its number directly sets *number and *direct and makes no value.
  bool evaluateTest(int i, ValuePtr& owned, CTypedValue*& value, double* number, bool* direct,
                    LocalSlots& locals) const;
  // What evaluateAlone gave, for a caller that will own it: `owned` itself,
  // else a clone of `value`, else null.
  static ValuePtr ownedCopy(ValuePtr& owned, const CTypedValue* value);
  // Entries from..count-1 in order; the first failure stops it.
  bool evaluateArguments(ArgumentValues& values, LocalSlots& locals, int from) const;
  // Reports a runtime error of the language itself through the built-ins'
  // report; gives false.
  bool runtimeError(std::string_view message, int argc, CTypedValue* const* argv) const;
  CSimpleInterface& log() const;

 private:
  bool parseArgument(CSourceStream& in, const std::string& token, Argument& argument);
  bool parseSubExpression(CSourceStream& in, Argument& argument);
  bool parseFrameReference(CSourceStream& in, const std::string& token, Argument& argument);
  bool bindFrameReference(Argument& argument, int position);
  // Sub-expressions and the context words.
  bool evaluateComputed(const Argument& argument, int i, ArgumentValues& values, LocalSlots& locals) const;
  // evaluateAlone's full form, for every kind, out of line.
  bool evaluateAloneComputed(const Argument& argument, ValuePtr& owned, CTypedValue*& value, LocalSlots& locals) const;
  bool evaluateChild(const Argument& argument, ValuePtr& owned, LocalSlots& locals) const;
  // The nesting check evaluateChild makes; false after its report.
  bool nestingAllows(const CallContext& context) const;
  bool evaluateToken(ValuePtr& owned, LocalSlots& locals) const;

  CExpression* owner_;
  std::vector<Argument> arguments_;
};

// How a token in argument position is read, first match wins.
enum class TokenClass { FrameReference, Open, Close, Literal, Token, Time, TokenObject, Local, Primitive, Other };
// Classifies `token` for a node of `owner`; `slot` receives the local's position.
TokenClass classifyToken(const CExpression& owner, std::string_view token, int* slot);

// The node that `head` names: a built-in call, a special form, or else a
// user call (the name is then entered in the functions table). Null when the
// functions table refuses the name (logged there).
std::unique_ptr<CExprNode> makeNode(CExpression& owner, const std::string& head);

// Logs a failed stream's reason once; nothing when the stream has not failed.
void reportStreamFailure(CSourceStream& in, CSimpleInterface& log);
// Logs a syntax message, or the stream's own failure instead when it has
// failed (the message would only repeat it), and gives false.
bool syntaxError(CSimpleInterface& log, CSourceStream& in, std::string_view message);
