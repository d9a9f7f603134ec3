// PredicateMatrix: two-bit cell kinds packed in 32-bit words, with a function
// (a functions-table index until binding) for every cell.
#include "model/SimpleTransition.h"

#include <cassert>

namespace {

constexpr int kCellsPerWord = 16;  // two bits each in a 32-bit word
constexpr std::uint32_t kCellMask = 3u;

}  // namespace

PredicateMatrix::PredicateMatrix(int rows, int columns, Cell initial)
    : rows_(rows),
      columns_(columns),
      kinds_(static_cast<std::size_t>((rows * columns + kCellsPerWord - 1) / kCellsPerWord), 0u),
      functionIndexes_(static_cast<std::size_t>(rows * columns), -1),
      functions_(static_cast<std::size_t>(rows * columns), nullptr) {
  assert(rows >= 0 && columns >= 0);
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j) setKind(i, j, initial);
  }
}

std::size_t PredicateMatrix::position(int row, int column) const {
  assert(row >= 0 && row < rows_ && column >= 0 && column < columns_);
  return static_cast<std::size_t>(columns_ * row + column);
}

void PredicateMatrix::setKind(int row, int column, Cell kind) {
  std::size_t cell = position(row, column);
  unsigned shift = 2u * static_cast<unsigned>(cell % kCellsPerWord);
  std::uint32_t& word = kinds_[cell / kCellsPerWord];
  word = (word & ~(kCellMask << shift)) | (static_cast<std::uint32_t>(kind) << shift);
}

PredicateMatrix::Cell PredicateMatrix::cell(int row, int column) const {
  std::size_t cell = position(row, column);
  unsigned shift = 2u * static_cast<unsigned>(cell % kCellsPerWord);
  return static_cast<Cell>((kinds_[cell / kCellsPerWord] >> shift) & kCellMask);
}

void PredicateMatrix::setConstant(int row, int column, bool value) {
  setKind(row, column, value ? Cell::True : Cell::False);
}

void PredicateMatrix::setFunctionIndex(int row, int column, int functionIndex) {
  setKind(row, column, Cell::Function);
  functionIndexes_[position(row, column)] = functionIndex;
}

int PredicateMatrix::functionIndex(int row, int column) const { return functionIndexes_[position(row, column)]; }

CFunction* PredicateMatrix::function(int row, int column) const { return functions_[position(row, column)]; }

void PredicateMatrix::setFunction(int row, int column, CFunction* function) {
  functions_[position(row, column)] = function;
}
