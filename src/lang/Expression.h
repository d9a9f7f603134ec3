// CExpression: a user function written in GNVCFL: its name, frame text,
// parameters and locals, and its body (an argument list of expression nodes);
// parsed from one definition, bound once the net is loaded, then called.
// Thread rule: used by the thread of its net; not reentrant across nets.
#pragma once

#include "lang/CallFrame.h"
#include "lang/ExprNode.h"
#include "lang/Function.h"
#include "lang/Program.h"
#include "lang/SourceStream.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Names of parameters and locals have at most this many characters.
constexpr std::size_t kMaxLocalName = 19;

class CExpression final : public CFunction {
 public:
  explicit CExpression(CAbstractTransition& net);
  ~CExpression() override;

  // definition -> "(" "defun" name frame-token "(" {parameter} ")" "(" {local} ")" {body-item} ")"
  // Reads one definition and registers the function under its name. True also
  // when the text holds no further definition (then nothing is registered:
  // see isDefined). False after a syntax message in the log.
  bool parseDefinition(CSourceStream& in);
  // True once parseDefinition registered this function.
  bool isDefined() const { return defined_; }

  // The net's call: time and token for the whole call tree, then the call.
  // The result's number truncated toward zero; 0 for no value. A runtime
  // error clears the net's runtimeOk, logs the call-stack entry and gives 0.
  int execute(CToken* token, CTypedValue* const* arguments, int argumentCount) override;
  // Builds the frame, then binds the body and compiles it.
  bool bind() override;
  bool isExpression() const override { return true; }

  // A call with borrowed argument values, its body nested context.depth deep
  // in the net's call; `out` (empty on entry) receives the value of the last
  // body item as its own, or stays empty. False after a report.
  bool call(ValueSlot& out, CTypedValue* const* arguments, int argumentCount, CallContext& context);

  const std::string& name() const { return name_; }
  int parameterCount() const { return parameterCount_; }
  int localCount() const { return static_cast<int>(localTable_.size()); }
  // The first slot named `name`, or -1.
  int localIndex(std::string_view name) const;
  // Records that the body has a node `depth` deep (parser bookkeeping).
  void noteNesting(int depth) {
    if (depth > nesting_) nesting_ = depth;
  }

 private:
  class Body;

  bool readHeader(CSourceStream& in);
  bool readNameAndFrame(CSourceStream& in);
  bool readLocalLists(CSourceStream& in);
  bool readNameList(CSourceStream& in);
  int failExecution();

  std::string name_;
  std::vector<std::string> localTable_;
  int parameterCount_ = 0;
  int nesting_ = 0;  // how deep the body's deepest node sits
  bool defined_ = false;
  std::unique_ptr<Body> body_;  // the parsed body; its literals stay with it
  Program program_;
};
