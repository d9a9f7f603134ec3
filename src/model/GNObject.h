// Base of every net object: places, tokens, characteristics, transitions, the
// net, token entries, generators and functions. Adds a signed priority, and
// the place where a name table filed the object, so that naming it is no lookup.
#pragma once

#include "lang/Value.h"

class NameTable;

class CGNObject : public CBaseObject {
 public:
  CGNObject() = default;
  // A copy is another object: it keeps the priority but no name-table hint.
  CGNObject(const CGNObject& other) : CBaseObject(other), priority_(other.priority_) {}
  CGNObject& operator=(const CGNObject& other) {
    priority_ = other.priority_;
    return *this;
  }

  int kind() const override { return kKindNetObject; }
  int priority() const { return priority_; }
  void setPriority(int priority) { priority_ = priority; }

 private:
  friend class NameTable;

  int priority_ = 0;
  // The table's hint of the first entry holding this object, which the table
  // checks against its entries before use. Packed beside the priority: every
  // net object carries it.
  mutable int nameIndex_ = -1;
  mutable const NameTable* nameTable_ = nullptr;
};
