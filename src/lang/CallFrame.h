// What evaluation carries through a net's call of a user function: the call
// context shared by every nested call (time, token, nesting depth), and the
// variable slots of one user call.
// Thread rule: lives on the stack of the thread that steps the net.
#pragma once

#include "lang/Value.h"

#include <memory>
#include <vector>

class CToken;

// Expressions and calls nested deeper than this in one net call stop with a
// runtime error instead of exhausting the thread's stack.
constexpr int kMaxEvaluationDepth = 2000;

// Set by the net's call (CExpression::execute) and seen by every function it
// calls in turn, so nested calls read the time and token of the net's call.
struct CallContext {
  CDoubleValue* time;  // the net's step time; borrowed, lives for the net's call
  CToken* token;       // the current token, or null
  int depth;           // current evaluation nesting
};

// The slots of one user call: parameters first, borrowed from the caller,
// then declared locals. A value the call puts into a slot (let, for, foreach)
// belongs to the call and dies with it; the caller's values are never deleted.
// Invariant: owned_[i] is true only while values_[i] is a value the call owns.
class LocalSlots {
 public:
  // Calls with at most this many slots keep them on the stack.
  static constexpr int kInlineSlots = 16;

  LocalSlots(int count, CallContext& context);
  ~LocalSlots();
  LocalSlots(const LocalSlots&) = delete;
  LocalSlots& operator=(const LocalSlots&) = delete;

  // The value in slot i (borrowed), or null when the slot is empty.
  CTypedValue* at(int i) const { return values_[i]; }
  // Slot i refers to a value the call does not own. REQUIRES: slot i is empty.
  void borrow(int i, CTypedValue* value) { values_[i] = value; }
  // Slot i receives a value the call owns. REQUIRES: slot i is empty.
  void adopt(int i, ValuePtr value);
  // The number a `for` counts with: the call-owned number already in slot i,
  // or a new call-owned 0.0 replacing what the slot held.
  CDoubleValue& loopCounter(int i);
  // The object value a `foreach` walks with, likewise, with no target.
  CObjectValue& loopCursor(int i);
  CallContext& context() const { return *context_; }

 private:
  // Replaces slot i's value by `value` (owned). A replaced value the call owned
  // stays alive until the call ends: an argument list may still refer to it.
  void replace(int i, ValuePtr value);
  // Slot i's value when the call owns it, else null.
  CTypedValue* ownedAt(int i) const { return owned_[i] ? values_[i] : nullptr; }

  int count_;
  // Only the first count_ entries are set.
  CTypedValue* inlineValues_[kInlineSlots];
  bool inlineOwned_[kInlineSlots];
  std::unique_ptr<CTypedValue*[]> heapValues_;
  std::unique_ptr<bool[]> heapOwned_;
  CTypedValue** values_;
  bool* owned_;
  CallContext* context_;
  std::vector<ValuePtr> retired_;
};
