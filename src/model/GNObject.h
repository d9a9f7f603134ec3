// Base of every net object: places, tokens, characteristics, transitions, the
// net, token entries, generators and functions. Adds a signed priority.
#pragma once

#include "lang/Value.h"

class CGNObject : public CBaseObject {
 public:
  int kind() const override { return kKindNetObject; }
  int priority() const { return priority_; }
  void setPriority(int priority) { priority_ = priority; }

 private:
  int priority_ = 0;
};
