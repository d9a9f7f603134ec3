// How many outputs an m-file's function returns, learnt by scanning its text
// for "[names] =" lines the way Calvix always has (last such line wins).
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string_view>

// m-file lines are read up to this length; a longer line ends the scan.
constexpr std::size_t kMaxMFileLine = 16383;

// The number of names between the first "[" and the "]" after it when the
// line has a "[" before its first "="; nothing when the line sets no count
// (no "[", no "=", "=" first, or no closing "]"). Names are runs of
// characters other than space and comma: "[a, b c] = f(x)" gives 3, "[] = f" 0.
std::optional<int> bracketedOutputCount(std::string_view line);

// Scans the whole m-file: starts at 1, skips empty lines and lines that begin
// with "%", and lets every line with a bracketed count set it again.
int countOutputs(std::istream& mFile);
