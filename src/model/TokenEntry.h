// One token's stay in one place.
#pragma once

#include "model/GNObject.h"

class CToken;

class CTokenEntry final : public CGNObject {
 public:
  // REQUIRES: token != nullptr. The priority is copied from the token.
  CTokenEntry(CToken* token, int stamp);

  CToken* token() const { return token_; }
  // False once the token has moved on through a transition during this step.
  bool present() const { return present_; }
  void setPresent(bool present) { present_ = present; }
  // The step time at which the entry may move.
  int stamp() const { return stamp_; }
  void setStamp(int stamp) { stamp_ = stamp; }

  // Entries come and go on every move: their blocks come from a per-thread free list.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size);

 private:
  CToken* token_;
  bool present_ = true;
  int stamp_;
};
