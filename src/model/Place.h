// CPlace: a place of the net, its token entries, its characteristic function
// and merge rule, and the transitions it feeds and is fed by.
// Thread rule: read and written only by the thread that steps its net.
#pragma once

#include "model/GNObject.h"
#include "model/LList.h"

class CAbstractTransition;
class DefinitionNode;
class CFunction;
class CSimpleTransition;
class CToken;

class CPlace final : public CGNObject {
 public:
  explicit CPlace(CAbstractTransition& net);
  CPlace(const CPlace&) = delete;
  CPlace& operator=(const CPlace&) = delete;
  int kind() const override { return kKindPlace; }

  // Reads the place element and defines the id in the places table. False only
  // when the id or a function name is refused by its table (logged there).
  bool load(const DefinitionNode& element);
  // Resolves the characteristic function and merge rule; true when both exist.
  bool bind();
  // Record the transition this place feeds / is fed by; a second binding logs
  // "Double place binding detected" and gives false.
  bool bindAsInput(CSimpleTransition* transition);
  bool bindAsOutput(CSimpleTransition* transition);
  void setInputIndex(int row) { inputIndex_ = row; }
  void setOutputIndex(int column) { outputIndex_ = column; }

  // The number of entries whose token has not moved on in this step.
  int presentCount() const { return presentCount_; }

  // Step operations.
  void moveTokens();
  void receive(CToken* token);
  // Runs the merge rule with `kept` as current token and `token` as argument.
  void mergeToken(CToken* token, CToken& kept);
  void addToken(CToken* token);
  void releaseExits();
  void commitStep();

  CAbstractTransition& net() const { return *net_; }
  bool merge() const { return merge_; }
  int capacity() const { return capacity_; }
  CFunction* characteristicFunction() const { return characteristicFunction_; }
  CFunction* mergeRule() const { return mergeRule_; }
  CSimpleTransition* inputOf() const { return inputOf_; }
  CSimpleTransition* outputOf() const { return outputOf_; }
  int inputIndex() const { return inputIndex_; }
  int outputIndex() const { return outputIndex_; }
  // The owning list of CTokenEntry, in insertByPriority order.
  CLList& tokens() { return tokens_; }
  const CLList& tokens() const { return tokens_; }

 private:
  CToken* mergeTarget(const CToken& arriving) const;

  CAbstractTransition* net_;
  bool merge_ = false;
  int capacity_ = 0;
  int characteristicIndex_ = -1;  // functions-table indexes until bind
  int mergeRuleIndex_ = -1;
  CFunction* characteristicFunction_ = nullptr;
  CFunction* mergeRule_ = nullptr;
  CSimpleTransition* inputOf_ = nullptr;
  CSimpleTransition* outputOf_ = nullptr;
  int inputIndex_ = -1;
  int outputIndex_ = -1;
  CLList tokens_{true};
  // Entries of tokens_ that are present; kept up to date wherever an entry
  // comes, goes or moves on, so that capacity tests do not walk the list.
  int presentCount_ = 0;
};
