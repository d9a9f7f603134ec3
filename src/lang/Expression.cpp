// User functions: reading a definition, binding, calling with parameters and
// locals, and the net's entry point with its call-stack entry on failure.
#include "lang/Expression.h"

#include "base/SimpleInterface.h"
#include "lang/Primitive.h"
#include "lang/Reader.h"
#include "model/AbstractTransition.h"
#include "model/Token.h"

// The body: the definition's items after the two lists; a call's value is
// the value of the last item, the others are evaluated for their effects.
class CExpression::Body final : public CExprNode {
 public:
  using CExprNode::CExprNode;
  bool parse(CSourceStream& in) override { return parseArguments(in); }
  void compile(Compiler& compiler, int dest) const override {
    for (int i = 0; i + 1 < count(); ++i) compileEffect(compiler, i);
    if (count() > 0) compileOwned(compiler, count() - 1, dest);
  }
};

CExpression::CExpression(CAbstractTransition& net) : CFunction(net, ""), body_(std::make_unique<Body>(*this)) {}

CExpression::~CExpression() = default;

int CExpression::localIndex(std::string_view name) const {
  for (std::size_t i = 0; i < localTable_.size(); ++i) {
    if (localTable_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

bool CExpression::parseDefinition(CSourceStream& in) {
  std::string token;
  if (!readToken(in, token) || token != "(") {
    if (in.atEnd() && !in.failed()) return true;  // nothing more to define
    return syntaxError(net().log(), in, "GNVCFL syntax error: '(' expected.");
  }
  if (!readToken(in, token) || token != "defun") return syntaxError(net().log(), in, "GNVCFL syntax error: \"defun\" expected.");
  if (!readNameAndFrame(in) || !readLocalLists(in)) return false;
  if (!body_->parse(in)) return false;
  if (net().functionsTable().define(name_, this) < 0) return false;
  defined_ = true;
  return true;
}

// Any token is taken as the name, even a parenthesis: "(defun)" then lacks its frame.
bool CExpression::readNameAndFrame(CSourceStream& in) {
  if (!readToken(in, name_)) {
    return syntaxError(net().log(), in, "GNVCFL syntax error: function name expected");
  }
  if (name_.size() > NameTable::kMaxName) {
    syntaxError(net().log(), in, "GNVCFL syntax error: function name longer than " + std::to_string(NameTable::kMaxName) + " characters.");
    net().log().write(name_);
    return false;
  }
  net().log().write(name_);
  std::string frame;
  if (!readToken(in, frame, kMaxFrameTokenLength) || frame.size() < 2 || frame.front() != '"' || frame.back() != '"') {
    return syntaxError(net().log(), in, "GNVCFL syntax error: function frame expected");
  }
  setFrameText(frame.substr(1, frame.size() - 2));
  return true;
}

// "(" {parameter} ")" "(" {local} ")": both lists are counted first, then
// read again from the start to fill the local table.
bool CExpression::readLocalLists(CSourceStream& in) {
  std::string token;
  if (!readToken(in, token) || token != "(") return syntaxError(net().log(), in, "GNVCFL syntax error: '(' expected.");
  std::size_t start = in.position();
  int parameters = countItems(in, false);
  if (parameters < 0) return syntaxError(net().log(), in, "GNVCFL syntax error: Unexpected end of file.");
  skipWhitespace(in);
  if (!readToken(in, token) || token != "(") return syntaxError(net().log(), in, "GNVCFL syntax error: '(' expected.");
  int locals = countItems(in, false);
  if (locals < 0) return syntaxError(net().log(), in, "GNVCFL syntax error: Unexpected end of file.");
  in.setPosition(start);
  parameterCount_ = parameters;
  localTable_.reserve(static_cast<std::size_t>(parameters + locals));
  if (!readNameList(in)) return false;
  readToken(in, token);  // the "(" of the locals, seen above
  return readNameList(in);
}

// Names up to the list's ")"; a nested list or an over-long name is refused.
bool CExpression::readNameList(CSourceStream& in) {
  std::string name;
  while (readToken(in, name) && name != ")") {
    if (name == "(") return syntaxError(net().log(), in, "GNVCFL syntax error: nested list among parameters or locals.");
    if (name.size() > kMaxLocalName) {
      syntaxError(net().log(), in, "GNVCFL syntax error: parameter or local name longer than " + std::to_string(kMaxLocalName) +
                      " characters.");
      net().log().write(name);
      return false;
    }
    localTable_.push_back(name);
  }
  return true;
}

// The body is compiled once, when the whole net is bound.
bool CExpression::bind() {
  if (!CFunction::bind() || !body_->bind()) return false;
  Compiler compiler(program_, localCount());
  body_->compile(compiler, compiler.resultRegister());
  return true;
}

bool CExpression::call(ValueSlot& out, CTypedValue* const* arguments, int argumentCount, CallContext& context) {
  if (argumentCount != parameterCount_) {
    net().log().write("GNVCFL runtime error: Wrong number of parameters .");
    return false;
  }
  if (context.depth + nesting_ > kMaxEvaluationDepth) {
    reportPrimitiveError(net().log(),
                         "GNVCFL runtime error: expressions and calls nested deeper than " +
                             std::to_string(kMaxEvaluationDepth) + ".",
                         0, nullptr);
    return false;
  }
  if (!net().keepWorking()) return false;
  CToken* token = context.token;
  CallFrame frame(program_, context, PrimitiveContext{&net(), token},
                  token != nullptr ? token->defaultCharacteristic() : nullptr, net().log());
  for (int i = 0; i < argumentCount; ++i) frame.borrow(i, arguments[i]);
  if (!program_.run(frame)) return false;
  out.takeFrom(frame.cell(program_.resultCell()));
  return true;
}

int CExpression::execute(CToken* token, CTypedValue* const* arguments, int argumentCount) {
  CDoubleValue time(net().time());
  CallContext context{&time, token, 0};
  ValueSlot result;
  if (!call(result, arguments, argumentCount, context)) return failExecution();
  if (result == nullptr) return 0;
  const CDoubleValue* number = asNumber(result.get());
  if (number == nullptr) {
    CTypedValue* value = result.get();
    reportPrimitiveError(net().log(), "GNVCFL runtime error: the value of the function is not a number.", 1, &value);
    return failExecution();
  }
  return truncateToInt(number->number());
}

// The one call-stack entry of a failure: the function the net called.
int CExpression::failExecution() {
  net().markRuntimeError();
  net().log().write("***Call stack entry:\n");
  net().log().write(name_);
  return 0;
}
