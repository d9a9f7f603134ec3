// The arguments file of a MATLAB call: one line per argument holding the
// MATLAB expression of a GNVCFL number, string or vector.
#pragma once

#include <cstddef>
#include <string>

class CTypedValue;

// The adapter reads argument lines up to this length; a longer one is refused here.
constexpr std::size_t kMaxArgumentLine = 65535;

// Appends the expression of `value` (no line end) to `line`:
// - a number in "%f" form: 2 gives 2.000000;
// - a string between single quotes, each quote inside doubled; a string that
//   holds control characters is a concatenation such as ['a' char(10) 'b'],
//   so that one argument stays one line;
// - a vector in brackets: each number in "%f" form and a space; a nested
//   vector gives its numbers the same way followed by "; " unless it is the
//   last element, so [[1 2] [3 4]] gives a 2-by-2 matrix; strings, objects
//   and deeper vectors inside a vector give nothing.
// False, with `line` unspecified, for an object (or missing) argument.
bool appendArgumentExpression(std::string& line, const CTypedValue* value);
