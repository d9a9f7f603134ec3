// The result file of a MATLAB call: one line per output, read back into
// GNVCFL values.
#pragma once

#include "lang/Value.h"

#include <istream>
#include <string_view>

// At most this many result lines are read; the rest of the file is ignored.
constexpr int kMaxResultLines = 1024;

// The value of one result line (its line end removed):
// - "'text'" is the string text (from the second character up to, not
//   including, the last);
// - "[...]" is a matrix in MATLAB's text: one row gives a vector of numbers,
//   several rows (separated by ";") a vector of row vectors, "[]" an empty
//   vector; elements are separated by spaces or commas;
// - anything else is the number atof gives for it (0 when it has none).
// Each number inside a matrix is read the same way.
// Null when the value would pass the limits of a value.
ValuePtr resultValue(std::string_view line);

// All outputs of the file: the value itself for exactly one output, else a
// new vector of the outputs in order (empty for an empty or missing file).
// Null when a line, or the outputs together, would pass the limits of a value.
ValuePtr readResults(std::istream& results);
