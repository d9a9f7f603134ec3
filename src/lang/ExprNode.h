// CExprNode: the base of GNVCFL expression nodes, with the uniform argument
// list every node keeps (constants, locals, frame references, context words,
// sub-expressions), its parsing and binding, and its compilation to the
// instructions of Code.h once the net is bound.
// Thread rule: parsed, bound and compiled while the net loads; afterwards the
// tree only holds the literals the compiled code reads.
#pragma once

#include "base/Holder.h"
#include "lang/Program.h"
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
  // Local: the slot. FrameReference: the frame position.
  int index = 0;
  std::unique_ptr<CExprNode> child;  // SubExpression only
  // Constant: its literal (owned). Bound FrameReference: a reference to the
  // frame's object (owned), or a characteristic's live value (borrowed).
  Holder<CTypedValue> value;
};

class CExprNode : public CBaseObject {
 public:
  explicit CExprNode(CExpression& owner) : owner_(&owner) {}
  CExprNode(const CExprNode&) = delete;
  CExprNode& operator=(const CExprNode&) = delete;

  // Reads the node from its head word (the "(" was consumed) through its ")".
  // False after a syntax message (none for an unbalanced list).
  virtual bool parse(CSourceStream& in) = 0;
  // Resolves frame references (and callees) once the net is loaded; false
  // after a log message.
  virtual bool bind();
  // Emits the code that leaves the node's value in register `dest` as the
  // register's own value, or leaves the register empty: no value.
  virtual void compile(Compiler& compiler, int dest) const = 0;

  // argument-list -> { argument } ")"
  // Reads the arguments through the closing parenthesis; false after a syntax
  // message, or without one when the list is unbalanced.
  bool parseArguments(CSourceStream& in);

  int count() const { return static_cast<int>(arguments_.size()); }
  const Argument& argument(int i) const { return arguments_[static_cast<std::size_t>(i)]; }
  CExpression& owner() const { return *owner_; }
  // How deep the node sits in its function's body: 1 for a body item.
  int depth() const { return depth_; }

 protected:
  // Whether argument i's value is made by evaluation (a sub-expression's,
  // "token", "tokenobj") rather than read where it lies.
  bool isMade(int i) const;
  // Where argument i's value lies once the code emitted for it has run: a
  // made value in register `target` (taken by the caller; unused otherwise),
  // a variable, literal, frame reference or the time where it is.
  Operand compileArgument(Compiler& compiler, int i, int target) const;
  // compileArgument with a register taken for a made value; the caller gives
  // its registers back once the value is used.
  Operand compileRead(Compiler& compiler, int i) const;
  // Argument i's value as register `dest`'s own value.
  void compileOwned(Compiler& compiler, int i, int dest) const;
  // Argument i evaluated for what it does; its value is not kept.
  void compileEffect(Compiler& compiler, int i) const;
  // Emits `call` (its op, dest and callee set) after the code for its
  // arguments, with their operands in order. A variable that a later
  // argument's evaluation could replace is captured where it stands.
  void compileCall(Compiler& compiler, Instruction call) const;
  CSimpleInterface& log() const;

 private:
  bool parseArgument(CSourceStream& in, const std::string& token, Argument& argument);
  bool parseSubExpression(CSourceStream& in, Argument& argument);
  bool parseFrameReference(CSourceStream& in, const std::string& token, Argument& argument);
  bool bindFrameReference(Argument& argument);

  CExpression* owner_;
  int depth_ = 0;
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
