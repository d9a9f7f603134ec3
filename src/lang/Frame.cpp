// Building a function's frame from its frame text: the count, then one
// keyword.identifier.property definition per entry, each looked up in the
// net's tables or opened as a file in the working directory.
#include "lang/Frame.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "lang/PathRules.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/Token.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::array<std::string_view, 16> kFrameWords = {
    "places",   "transitions", "tokens",     "token", "numtokens", "priority", "capacity",  "tokenslist",
    "active",   "host",        "char",       "file",  "read",      "write",    "readwrite", "obj"};

}  // namespace

bool nextField(std::string& destination, std::string_view& text, char delimiter) {
  if (text.empty()) return false;
  std::size_t end = text.find(delimiter);
  if (end == std::string_view::npos) {
    destination.assign(text);
    text = {};
    return true;
  }
  destination.assign(text.substr(0, end));
  text.remove_prefix(end);
  while (!text.empty() && text.front() == delimiter) text.remove_prefix(1);
  return true;
}

int frameKeywordIndex(std::string_view word, CSimpleInterface& log) {
  for (std::size_t i = 0; i < kFrameWords.size(); ++i) {
    if (kFrameWords[i] == word) return static_cast<int>(i);
  }
  log.write("Unknown keyword:");
  log.write(word);
  return -1;
}

bool CFunction::frameError(std::string_view message, std::string_view word) {
  net_->log().write(message);
  if (!word.empty()) net_->log().write(word);
  return false;
}

bool CFunction::buildFrame() {
  frame_.clear();
  if (frameText_.empty()) return true;
  if (frameText_.size() > kMaxFrameText) {
    return frameError("Invalid function frame definition. Frame text longer than " + std::to_string(kMaxFrameText) +
                      " characters");
  }
  std::string_view text = frameText_;
  std::string field;
  nextField(field, text, ';');
  int count = std::atoi(field.c_str());
  if (count < 0) return frameError("Invalid function frame definition. Negative definition count");
  for (int i = 0; i < count; ++i) {
    if (!addFrameEntry(text)) return false;
  }
  if (nextField(field, text, ';')) return frameError("Invalid function frame definition. Too many definitions");
  return true;
}

bool CFunction::addFrameEntry(std::string_view& text) {
  std::string keyword, identifier, property;
  if (!nextField(keyword, text, '.') || !nextField(identifier, text, '.') || !nextField(property, text, ';')) {
    return frameError("Infalid function frame definition. Not enough definitions");
  }
  for (const std::string* field : {&keyword, &identifier, &property}) {
    if (field->size() > kMaxFrameField) {
      return frameError(
          "Invalid function frame definition. Field longer than " + std::to_string(kMaxFrameField) + " characters:", *field);
    }
  }
  switch (frameKeywordIndex(keyword, net_->log())) {
    case kFramePlaces: return addPlaceEntry(identifier, property);
    case kFrameTransitions: return addTransitionEntry(identifier, property);
    case kFrameTokens: return addTokenEntry(identifier, property);
    case kFrameFile: return addFileEntry(identifier, property);
    default:
      frameError("Invalid frame deffinition keyword:", keyword);
      net_->markRuntimeError();
      return false;
  }
}

bool CFunction::addPlaceEntry(const std::string& identifier, const std::string& property) {
  NameTable& places = net_->placesTable();
  auto* place = static_cast<CPlace*>(places.objectAt(places.indexOf(identifier)));
  if (place == nullptr) return frameError("Place identifier unknown", identifier);
  switch (frameKeywordIndex(property, net_->log())) {
    case kFrameObj: addBorrowedEntry(place); return true;
    case kFrameTokensList: addBorrowedEntry(&place->tokens()); return true;
    case kFrameToken:
      // A place's "token" is a field of its token list, not an object a body could use.
      return frameError("Unsupported place property (it names no object):", property);
    default: return frameError("Invalid place property", property);
  }
}

bool CFunction::addTransitionEntry(const std::string& identifier, const std::string& property) {
  NameTable& transitions = net_->transitionsTable();
  CGNObject* transition = transitions.objectAt(transitions.indexOf(identifier));
  if (transition == nullptr) return frameError("Transition identifier unknown", identifier);
  if (frameKeywordIndex(property, net_->log()) != kFrameObj) return frameError("Invalid transition property", property);
  addBorrowedEntry(transition);
  return true;
}

bool CFunction::addTokenEntry(const std::string& identifier, const std::string& property) {
  NameTable& tokens = net_->tokensTable();
  auto* token = static_cast<CToken*>(tokens.objectAt(tokens.indexOf(identifier)));
  if (token == nullptr) return frameError("Token identifier unknown", identifier);
  // Frames are bound once: the token must outlive them even after it leaves.
  token->keepAfterLeaving();
  switch (frameKeywordIndex(property, net_->log())) {
    case kFrameObj: addBorrowedEntry(token); return true;
    case kFrameChar:
      if (token->defaultCharacteristic() == nullptr) {
        return frameError("Token without characteristics has no char to bind:", identifier);
      }
      addBorrowedEntry(token->defaultCharacteristic());
      return true;
    case kFrameHost:
      // Functions are bound before tokens, so no token has its host yet.
      return frameError("Unsupported token property (hosts are bound after functions):", property);
    default: return frameError("Invalid token property", property);
  }
}

// A name starting with ">" is created or emptied for writing; any other is
// opened for reading. A file that cannot be opened gives a handle without a
// file, for the built-in that uses it to meet.
bool CFunction::addFileEntry(const std::string& identifier, const std::string& property) {
  std::string name = identifier + "." + property;
  if (name.size() > kMaxFrameFileName) return frameError(
        "Frame file name longer than " + std::to_string(kMaxFrameFileName) + " characters refused:", name);
  bool writing = name.front() == '>';
  if (writing) name.erase(0, 1);
  std::FILE* file = nullptr;
  if (staysInWorkingDirectory(name)) {
    file = std::fopen(name.c_str(), writing ? "w+" : "r");
  } else {
    frameError("Frame file refused outside the working directory:", name);
  }
  frame_.emplace_back().adopt(std::make_unique<CFilePtr>(file));
  return true;
}
