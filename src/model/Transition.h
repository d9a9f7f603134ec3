// CTransition: the abstract base of the ordinary transition and of the whole net.
#pragma once

#include "model/DomFwd.h"
#include "model/GNObject.h"

class CTransition : public CGNObject {
 public:
  // Reads the object from a node of the definition document; false on failure.
  virtual bool load(const xercesc::DOMNode& node) = 0;
};
