// The text form of a transition's arc capacity matrix: integers separated by
// runs of spaces, row after row.
// Thread rule: pure function, callable from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CSimpleInterface;

// Longer capacity texts are refused.
constexpr std::size_t kMaxCapacityText = 219;
// Longer words of a capacity text are refused.
constexpr std::size_t kMaxCapacityWord = 51;

// Reads `rows` x `columns` cells from `text` into `cells`, logging every word.
// Words are split by runs of the space character only (tabs and line breaks
// belong to words); a leading space gives an empty first word, read as 0.
// False after "Invalid matrix definition" (too few or too many words) or a
// refusal naming `transition` (text or word too long).
bool readCapacityText(std::string_view text, int rows, int columns, std::string_view transition,
                      CSimpleInterface& log, std::vector<std::vector<int>>& cells);
