// CSimpleTransition: a transition with its input and output places, its
// predicate index matrix and its arc capacity matrix.
// Rows are positions in the input list, columns positions in the output list;
// loading puts each place at the front, so positions run against document order.
// Thread rule: read and written only by the thread that steps its net.
#pragma once

#include "model/LList.h"
#include "model/Transition.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CAbstractTransition;
class DefinitionNode;
class CFunction;
class CToken;

// The predicate of every (input, output) pair: a function or a constant.
class PredicateMatrix {
 public:
  enum class Cell : std::uint8_t { Function = 0, False = 1, True = 2 };
  // Every cell starts as `initial` (a constant). REQUIRES: rows, columns >= 0.
  PredicateMatrix(int rows, int columns, Cell initial);
  int rows() const { return rows_; }
  int columns() const { return columns_; }
  // REQUIRES: 0 <= row < rows, 0 <= column < columns (also for the setters).
  Cell cell(int row, int column) const;
  void setConstant(int row, int column, bool value);
  void setFunctionIndex(int row, int column, int functionIndex);
  int functionIndex(int row, int column) const;
  CFunction* function(int row, int column) const;
  void setFunction(int row, int column, CFunction* function);

 private:
  std::size_t position(int row, int column) const;
  void setKind(int row, int column, Cell kind);

  int rows_;
  int columns_;
  std::vector<std::uint32_t> kinds_;  // two bits a cell, cell (i, j) at bit 2*(columns*i + j)
  std::vector<int> functionIndexes_;
  std::vector<CFunction*> functions_;
};

class CSimpleTransition final : public CTransition {
 public:
  explicit CSimpleTransition(CAbstractTransition& net);
  ~CSimpleTransition() override;
  CSimpleTransition(const CSimpleTransition&) = delete;
  CSimpleTransition& operator=(const CSimpleTransition&) = delete;

  // Reads a transition element; false when a matrix or a name is invalid, a
  // predicate names a place that is not among its inputs or outputs, a side
  // lists more places than a net can hold, or inputs or outputs come twice
  // (all logged).
  bool load(const DefinitionNode& element) override;
  // Binds the places (inputs, then outputs), re-sorts both lists and resolves
  // the predicate functions. False on an undefined place, a second binding of
  // a place, a missing predicates element, a matrix whose size is not inputs by
  // outputs (it was read before them) or an undefined predicate function.
  // The lists hold the places bound so far, in the order of the names.
  bool bind();

  // Step operations.
  bool tryMove(int row, CToken* token);
  bool predicateHolds(int row, int column, CToken* token);
  void updateActive();

  CAbstractTransition& net() const { return *net_; }
  bool active() const { return active_; }
  int startTime() const { return startTime_; }
  int lifeTime() const { return lifeTime_; }
  CLList& inputs() { return inputs_; }
  CLList& outputs() { return outputs_; }
  int inputCount() const { return inputCount_; }
  int outputCount() const { return outputCount_; }
  const PredicateMatrix* predicateMatrix() const { return predicates_.get(); }
  // Rows of columns of arc capacities, or empty when the element has none.
  const std::vector<std::vector<int>>& capacityMatrix() const { return capacities_; }

 private:
  // One child of the transition element; children of other names are ignored.
  bool loadPart(const DefinitionNode& part);
  bool loadPlaces(const DefinitionNode& list, std::string_view itemName, const char* header,
                  std::vector<int>& names, int& count, bool& read);
  bool loadPredicates(const DefinitionNode& predicates);
  bool loadPredicate(const DefinitionNode& predicate);
  // Whether both matrices are inputs by outputs; logs the refusal when not.
  bool matricesFitPlaces() const;
  bool bindPlaces(const std::vector<int>& names, CLList& list, bool asInput);
  bool bindPredicates();

  CAbstractTransition* net_;
  std::string id_;  // for messages while loading and binding
  bool active_ = true;
  int startTime_ = 0;
  int lifeTime_ = -1;
  CLList inputs_{false};
  CLList outputs_{false};
  std::vector<int> inputNames_;   // places-table indexes in list order, until bind
  std::vector<int> outputNames_;
  int inputCount_ = 0;
  int outputCount_ = 0;
  bool inputsRead_ = false;  // each list may come once
  bool outputsRead_ = false;
  std::unique_ptr<PredicateMatrix> predicates_;
  std::vector<std::vector<int>> capacities_;
  bool capacitiesRead_ = false;
};
