// Base of every net object: places, tokens, characteristics, transitions, the
// net, token entries, generators and functions. Adds a signed priority, and
// the place where a name table filed the object, so that naming it is no lookup.
#pragma once

#include "lang/Value.h"

class NameTable;

class CGNObject : public CBaseObject {
 public:
  int kind() const override { return kKindNetObject; }
  int priority() const { return priority_; }
  void setPriority(int priority) { priority_ = priority; }

 private:
  friend class NameTable;

  // The table's hint of the first entry holding this object. The table checks
  // it against its entries before use; a copy of an object starts without one.
  struct NameHint {
    NameHint() = default;
    NameHint(const NameHint&) {}
    NameHint& operator=(const NameHint&) { return *this; }
    const NameTable* table = nullptr;
    int index = -1;
  };

  int priority_ = 0;
  mutable NameHint nameHint_;
};
