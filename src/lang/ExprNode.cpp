// Argument lists of expression nodes: classification and parsing of each
// argument, binding of frame references, and evaluation of the entries.
#include "lang/ExprNode.h"

#include "base/SimpleInterface.h"
#include "lang/Primitive.h"
#include "lang/Expression.h"
#include "lang/Reader.h"
#include "model/AbstractTransition.h"
#include "model/Characteristic.h"
#include "model/Token.h"

#include <cassert>
#include <cstdlib>
#include <utility>

// ---- ArgumentValues -----------------------------------------------------

ArgumentValues::ArgumentValues(const CExprNode& node) : node_(node), count_(node.count()) {
  if (count_ <= kInlineArguments) {
    values_ = inlineValues_;
    owned_ = inlineOwned_;
  } else {
    heapValues_ = std::make_unique<CTypedValue*[]>(static_cast<std::size_t>(count_));
    heapOwned_ = std::make_unique<bool[]>(static_cast<std::size_t>(count_));
    values_ = heapValues_.get();
    owned_ = heapOwned_.get();
  }
  // Constants and bound frame references are passed as they stand.
  for (int i = 0; i < count_; ++i) {
    values_[i] = node.argument(i).value;
    owned_[i] = false;
  }
}

void ArgumentValues::release(int from) {
  for (int i = from; i < count_; ++i) {
    drop(i);
    values_[i] = node_.argument(i).value;
  }
}

ValuePtr ArgumentValues::resultOf(int i, const LocalSlots& locals) {
  if (owned_[i]) {
    owned_[i] = false;
    return ValuePtr{std::exchange(values_[i], nullptr)};
  }
  CTypedValue* value = values_[i];
  // A slot's value may have been replaced since it was read (for, foreach).
  const Argument& argument = node_.argument(i);
  if (value != nullptr && argument.kind == ArgumentKind::Local) value = locals.at(argument.index);
  return value != nullptr ? value->clone() : nullptr;
}

// ---- classification and parsing -----------------------------------------

TokenClass classifyToken(const CExpression& owner, std::string_view token, int* slot) {
  if (token.starts_with('#')) return TokenClass::FrameReference;
  if (token == "(") return TokenClass::Open;
  if (token == ")") return TokenClass::Close;
  if (isNumeric(token) || isStringLiteral(token) || isVectorLiteral(token)) return TokenClass::Literal;
  if (token == "time") return TokenClass::Time;
  if (token == "token") return TokenClass::Token;
  if (token == "tokenobj") return TokenClass::TokenObject;
  if (int index = owner.localIndex(token); index >= 0) {
    *slot = index;
    return TokenClass::Local;
  }
  int arity = 0;
  PrimitiveFunction function = nullptr;
  if (findPrimitive(token, &arity, &function)) return TokenClass::Primitive;
  return TokenClass::Other;
}

void reportStreamFailure(CSourceStream& in, CSimpleInterface& log) {
  if (!in.failed() || in.failureReported()) return;
  in.setFailureReported();
  log.write("GNVCFL syntax error: token longer than its limit (" + std::to_string(kMaxTokenLength) + " characters, " +
            std::to_string(kMaxFrameTokenLength) + " for a function frame).");
}

bool syntaxError(CSimpleInterface& log, CSourceStream& in, std::string_view message) {
  if (in.failed()) {
    reportStreamFailure(in, log);
  } else {
    log.write(message);
  }
  return false;
}

CSimpleInterface& CExprNode::log() const { return owner_->net().log(); }

bool CExprNode::parseArguments(CSourceStream& in) {
  int count = countItems(in, true);
  if (count < 0) {
    reportStreamFailure(in, log());
    return false;
  }
  arguments_.clear();
  arguments_.resize(static_cast<std::size_t>(count));
  std::string token;
  for (std::size_t i = 0; readToken(in, token); ++i) {
    if (token == ")") return true;
    assert(i < arguments_.size());
    if (!parseArgument(in, token, arguments_[i])) return false;
  }
  if (in.failed()) {
    reportStreamFailure(in, log());
    return false;
  }
  return true;
}

bool CExprNode::parseArgument(CSourceStream& in, const std::string& token, Argument& argument) {
  int slot = 0;
  switch (classifyToken(*owner_, token, &slot)) {
    case TokenClass::Open: return parseSubExpression(in, argument);
    case TokenClass::FrameReference: return parseFrameReference(in, token, argument);
    case TokenClass::Literal:
      argument.kind = ArgumentKind::Constant;
      argument.owned = literalValue(token);
      if (!argument.owned) {
        return syntaxError(log(), in, "GNVCFL syntax error: " + valueLimitMessage("literal " + token));
      }
      argument.value = argument.owned.get();
      return true;
    case TokenClass::Local:
      argument.kind = ArgumentKind::Local;
      argument.index = slot;
      return true;
    case TokenClass::Token: argument.kind = ArgumentKind::Token; return true;
    case TokenClass::Time: argument.kind = ArgumentKind::Time; return true;
    case TokenClass::TokenObject: argument.kind = ArgumentKind::TokenObject; return true;
    case TokenClass::Other:
      // Entered as a referenced name, so binding reports it as undefined too.
      owner_->net().functionsTable().indexOf(token);
      return syntaxError(log(), in, "GNVCFL syntax error: Unknown identifier.");
    case TokenClass::Close:
    case TokenClass::Primitive: break;
  }
  return syntaxError(log(), in, "GNVCFL syntax error: Unknown identifier.");
}

bool CExprNode::parseSubExpression(CSourceStream& in, Argument& argument) {
  std::string head;
  // "()" and "((" have no head word: neither names a function.
  if (!peekToken(in, head) || head == ")" || head == "(") {
    return syntaxError(log(), in, "GNVCFL syntax error: function name expected.");
  }
  if (head.size() > kMaxHeadWord) {
    syntaxError(log(), in, "GNVCFL syntax error: function name longer than " + std::to_string(kMaxHeadWord) + " characters.");
    log().write(head);
    return false;
  }
  int& nesting = owner_->parseNesting();
  if (nesting >= kMaxParseNesting) {
    return syntaxError(log(), in,
                       "GNVCFL syntax error: expressions nested deeper than " + std::to_string(kMaxParseNesting) + ".");
  }
  std::unique_ptr<CExprNode> child = makeNode(*owner_, head);
  if (!child) return false;
  ++nesting;
  bool parsed = child->parse(in);
  --nesting;
  if (!parsed) return false;
  argument.kind = ArgumentKind::SubExpression;
  argument.child = std::move(child);
  return true;
}

bool CExprNode::parseFrameReference(CSourceStream& in, const std::string& token, Argument& argument) {
  std::string_view position = std::string_view(token).substr(1);
  if (!isNumeric(position)) return syntaxError(log(), in, "GNVCFL syntax error: #<number> expected");
  argument.kind = ArgumentKind::FrameReference;
  argument.index = std::atoi(token.c_str() + 1);
  return true;
}

// ---- binding ------------------------------------------------------------

bool CExprNode::bind() {
  bool bound = true;
  for (std::size_t i = 0; i < arguments_.size(); ++i) {
    Argument& argument = arguments_[i];
    if (argument.kind == ArgumentKind::FrameReference && !bindFrameReference(argument, static_cast<int>(i))) {
      bound = false;
    }
    if (argument.child && !argument.child->bind()) bound = false;
  }
  return bound;
}

// A characteristic is passed as its live value (borrowed), so the body always
// sees its current value; any other frame object as a reference to it.
bool CExprNode::bindFrameReference(Argument& argument, int position) {
  int framePosition = argument.index;
  if (framePosition < 0 || framePosition >= owner_->frameSize()) {
    log().write("GNVCFL binding error: frame reference outside the function frame: #" +
                std::to_string(framePosition));
    log().write(owner_->name());
    return false;
  }
  CBaseObject* object = owner_->frameEntry(framePosition);
  assert(object != nullptr);
  if (object->kind() == kKindCharacteristic) {
    argument.value = &static_cast<CCharacteristic*>(object)->value();
    argument.index = position;
  } else {
    argument.owned = std::make_unique<CObjectValue>(object);
    argument.value = argument.owned.get();
    argument.index = -1;
  }
  return true;
}

// ---- evaluation ---------------------------------------------------------

ValuePtr CExprNode::ownedCopy(ValuePtr& owned, const CTypedValue* value) {
  if (owned) return std::move(owned);
  return value != nullptr ? value->clone() : nullptr;
}

bool CExprNode::runtimeError(std::string_view message, int argc, CTypedValue* const* argv) const {
  reportPrimitiveError(log(), message, argc, argv);
  return false;
}

bool CExprNode::evaluateArguments(ArgumentValues& values, LocalSlots& locals, int from) const {
  for (int i = from; i < count(); ++i) {
    if (!evaluateArgument(i, values, locals)) return false;
  }
  return true;
}

bool CExprNode::evaluateComputed(const Argument& argument, int i, ArgumentValues& values, LocalSlots& locals) const {
  if (argument.kind == ArgumentKind::Time) {
    values.borrow(i, locals.context().time);
    return true;
  }
  ValuePtr owned;
  if (argument.kind == ArgumentKind::SubExpression) {
    if (!evaluateChild(argument, owned, locals)) return false;
    values.adopt(i, std::move(owned));
    return true;
  }
  CTypedValue* value = nullptr;
  if (!evaluateAloneComputed(argument, owned, value, locals)) return false;
  values.adopt(i, std::move(owned));
  return true;
}

bool CExprNode::evaluateAloneComputed(const Argument& argument, ValuePtr& owned, CTypedValue*& value,
                                      LocalSlots& locals) const {
  bool evaluated = true;
  switch (argument.kind) {
    case ArgumentKind::Constant:
    case ArgumentKind::FrameReference: value = argument.value; return true;
    case ArgumentKind::Local: value = locals.at(argument.index); return true;
    case ArgumentKind::Time: value = locals.context().time; return true;
    case ArgumentKind::SubExpression: evaluated = evaluateChild(argument, owned, locals); break;
    case ArgumentKind::Token: evaluated = evaluateToken(owned, locals); break;
    case ArgumentKind::TokenObject: owned = std::make_unique<CObjectValue>(locals.context().token); break;
  }
  value = owned.get();
  return evaluated;
}

bool CExprNode::evaluateTest(int i, ValuePtr& owned, CTypedValue*& value, double* number, bool* direct,
                             LocalSlots& locals) const {
  const Argument& argument = arguments_[static_cast<std::size_t>(i)];
  *direct = false;
  if (argument.kind != ArgumentKind::SubExpression) return evaluateAlone(i, owned, value, locals);
  CallContext& context = locals.context();
  if (!nestingAllows(context)) return false;
  ++context.depth;
  bool evaluated = argument.child->evaluateNumber(owned, number, direct, locals);
  --context.depth;
  value = owned.get();
  return evaluated;
}

bool CExprNode::nestingAllows(const CallContext& context) const {
  if (context.depth < kMaxEvaluationDepth) return true;
  return runtimeError(
      "GNVCFL runtime error: expressions and calls nested deeper than " + std::to_string(kMaxEvaluationDepth) + ".", 0,
      nullptr);
}

bool CExprNode::evaluateChild(const Argument& argument, ValuePtr& owned, LocalSlots& locals) const {
  CallContext& context = locals.context();
  if (!nestingAllows(context)) return false;
  ++context.depth;
  bool evaluated = argument.child->evaluate(owned, locals);
  --context.depth;
  return evaluated;
}

// "token": a copy of the current token's default characteristic's live value.
bool CExprNode::evaluateToken(ValuePtr& owned, LocalSlots& locals) const {
  CToken* token = locals.context().token;
  if (token == nullptr) return runtimeError("GNVCFL runtime error: \"token\" used in a call for no token.", 0, nullptr);
  CCharacteristic* characteristic = token->defaultCharacteristic();
  if (characteristic == nullptr) {
    return runtimeError("GNVCFL runtime error: \"token\" used for a token without characteristics.", 0, nullptr);
  }
  owned = characteristic->value().clone();
  return true;
}
