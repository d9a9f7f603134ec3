// Reading the text form of a transition's arc capacity matrix.
#include "model/CapacityText.h"

#include "base/SimpleInterface.h"
#include "model/DefinitionDocument.h"

namespace {

constexpr const char* kInvalidMatrix = "Invalid matrix definition";

// The words of a text separated by runs of spaces; a run after a word goes with it.
std::vector<std::string_view> spaceSeparatedWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t end = text.find(' ', position);
    if (end == std::string_view::npos) end = text.size();
    words.push_back(text.substr(position, end - position));
    position = text.find_first_not_of(' ', end);
    if (position == std::string_view::npos) break;
  }
  return words;
}

}  // namespace

bool readCapacityText(std::string_view text, int rows, int columns, std::string_view transition,
                      CSimpleInterface& log, std::vector<std::vector<int>>& cells) {
  if (text.size() > kMaxCapacityText) {
    log.write("capacity text longer than " + std::to_string(kMaxCapacityText) +
              " characters refused in transition " + std::string(transition));
    return false;
  }
  std::vector<std::string_view> words = spaceSeparatedWords(text);
  cells.assign(static_cast<std::size_t>(rows), std::vector<int>(static_cast<std::size_t>(columns), 0));
  std::size_t next = 0;
  for (auto& row : cells) {
    for (int& cell : row) {
      if (next == words.size()) {
        log.write(kInvalidMatrix);
        return false;
      }
      std::string_view word = words[next++];
      if (word.size() > kMaxCapacityWord) {
        log.write("capacity word longer than " + std::to_string(kMaxCapacityWord) +
                  " characters refused in transition " + std::string(transition) + ": " + std::string(word));
        return false;
      }
      cell = leadingInteger(word);
      log.write(word);
    }
  }
  if (next < words.size()) {
    log.write(kInvalidMatrix);
    return false;
  }
  return true;
}
