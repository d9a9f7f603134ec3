// The function frame text: its fields and its keyword table.
// "n;keyword.identifier.property;..." names n net objects or files that a
// function's body reaches as #0 .. #n-1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CSimpleInterface;

// A frame text has at most this many characters (the frame token's 499 less its quotes).
constexpr std::size_t kMaxFrameText = 497;
// A field of a frame text has at most this many characters.
constexpr std::size_t kMaxFrameField = 99;
// A frame file name ("identifier.property") has at most this many characters.
constexpr std::size_t kMaxFrameFileName = 127;

// The 16 frame words, in table order (frameKeywordIndex gives these numbers).
enum FrameKeyword {
  kFramePlaces, kFrameTransitions, kFrameTokens, kFrameToken, kFrameNumTokens, kFramePriority,
  kFrameCapacity, kFrameTokensList, kFrameActive, kFrameHost, kFrameChar, kFrameFile,
  kFrameRead, kFrameWrite, kFrameReadWrite, kFrameObj,
};

// Takes the next field of `text` up to `delimiter` into `destination`; the
// text then continues after that delimiter and any that follow it at once.
// Without the delimiter the whole text is the field. False when text is empty.
bool nextField(std::string& destination, std::string_view& text, char delimiter);
// 0..15 for a frame word; -1 after logging "Unknown keyword:" and the word.
int frameKeywordIndex(std::string_view word, CSimpleInterface& log);
