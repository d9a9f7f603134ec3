// CTransition: the abstract base of the ordinary transition and of the whole net.
#pragma once

#include "model/GNObject.h"

class DefinitionNode;

class CTransition : public CGNObject {
 public:
  // Reads the object from an element of the definition document; false on failure.
  virtual bool load(const DefinitionNode& element) = 0;
};
