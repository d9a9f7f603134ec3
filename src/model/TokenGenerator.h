// CTokenGenerator: puts copies of a template token into a running net,
// periodically, at random intervals, or when a predicate holds.
// Thread rule: used by the thread that steps its net.
#pragma once

#include "model/GNObject.h"

#include <memory>
#include <string>
#include <string_view>

class CAbstractTransition;
class DefinitionNode;
class CFunction;
class CToken;

class CTokenGenerator final : public CGNObject {
 public:
  enum class Type { None, Periodic, Conditional, Random };
  enum class PredicateKind { True, False, Function };

  explicit CTokenGenerator(CAbstractTransition& net);
  ~CTokenGenerator() override;
  CTokenGenerator(const CTokenGenerator&) = delete;
  CTokenGenerator& operator=(const CTokenGenerator&) = delete;

  // Reads a generator element and its template; false when the template is
  // refused, a name is refused by its table or the id is too long for the
  // names of the tokens it makes (all logged).
  bool load(const DefinitionNode& element);
  // Resolves the template's host and the predicate function.
  bool bind();
  // Makes a token when due (the step calls it when nextTime() == net time),
  // then advances nextTime.
  void generate();

  int nextTime() const { return nextTime_; }
  int generatedCount() const { return generatedCount_; }
  Type type() const { return type_; }
  int period() const { return period_; }
  const std::string& namePrefix() const { return namePrefix_; }
  const CToken& templateToken() const { return *template_; }
  PredicateKind predicateKind() const { return predicateKind_; }
  // The bound predicate function; null before binding or for a constant.
  CFunction* predicate() const { return predicate_; }

 private:
  // "true", "false" or a function name; false when the name is refused.
  bool loadPredicate(std::string_view predicate);

  CAbstractTransition* net_;
  std::unique_ptr<CToken> template_;
  int generatedCount_ = 0;
  Type type_ = Type::None;
  PredicateKind predicateKind_ = PredicateKind::True;
  int predicateIndex_ = -1;
  CFunction* predicate_ = nullptr;
  int period_ = 0;
  int nextTime_ = 0;
  std::string namePrefix_;
};
