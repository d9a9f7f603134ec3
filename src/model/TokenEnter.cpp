// A token entering the net at its host place.
// Thread rule: run by the thread that steps the net.
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/Token.h"
#include "model/EventManager.h"

// The place's capacity is not tested for entering tokens. A runtime error in the
// characteristic function gets no report of the step's own: the function's is all.
void CToken::enter() {
  if (host_ == nullptr) return;
  host_->addToken(this);
  if (CFunction* function = host_->characteristicFunction()) function->execute(this, nullptr, 0);
  if (EventManager* events = net_->events()) events->entrance(*this, *host_);
}
