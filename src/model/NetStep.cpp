// One simulation step of the whole net and its end-of-step bookkeeping.
// Thread rule: run by the thread that owns the net.
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

#include <vector>

namespace {

// Places in table order (sorted at binding): exits release, fed places move.
// A runtime error stops only the moving; exits still happen.
void visitPlaces(NameTable& places) {
  for (int index = 0; index < places.count(); ++index) {
    auto* place = static_cast<CPlace*>(places.objectAt(index));
    if (place == nullptr) continue;
    if (place->inputOf() == nullptr) {
      place->releaseExits();
    } else if (place->inputOf()->active() && place->tokens().count() > 0) {
      place->moveTokens();
    }
  }
}

void runGenerators(const CAbstractTransition& net) {
  for (const auto& generator : net.generators()) {
    if (generator->nextTime() == net.time()) generator->generate();
  }
}

void commitPlaces(NameTable& places) {
  for (int index = 0; index < places.count(); ++index) {
    if (auto* place = static_cast<CPlace*>(places.objectAt(index))) place->commitStep();
  }
}

void storeCharacteristics(const CToken& token) {
  for (const auto& [name, characteristic] : token.characteristics()) characteristic->storeCurrent();
}

void updateTransitions(NameTable& transitions) {
  for (int index = 0; index < transitions.count(); ++index) {
    if (auto* transition = static_cast<CSimpleTransition*>(transitions.objectAt(index))) transition->updateActive();
  }
}

}  // namespace

// A net whose initialisation did not succeed is never stepped: its names may be
// unbound. A net after a runtime error does nothing, not even advance its clock.
void CAbstractTransition::step() {
  if (!runtimeOk_ || !initialised_ || !keepWorking()) return;
  walkingPlaces_ = true;
  visitPlaces(places_);
  walkingPlaces_ = false;
  while (!enteringQueue_.empty() && enteringQueue_.top()->entering() <= time_) {
    CToken* token = enteringQueue_.top();
    enteringQueue_.pop();
    token->enter();
  }
  runGenerators(*this);
  if (traceFunction_ != nullptr) traceFunction_->execute(nullptr, nullptr, 0);
  endStep();
}

// Tokens whose host is null left the net or were merged away during the step:
// they are destroyed here, and whichever table entry still holds one keeps its
// name and state but loses the object. The walk covers every token the net
// owns, so a token whose free entry was taken over by a newer name is
// destroyed as well. A token a frame names is kept instead: frames are bound
// once, and their entries must never reach freed memory.
void CAbstractTransition::endStep() {
  ++time_;
  commitPlaces(places_);
  std::vector<CToken*> departed;
  for (const auto& token : ownedTokens_) {
    if (token->host() == nullptr) {
      departed.push_back(token.get());
    } else {
      storeCharacteristics(*token);
    }
  }
  for (CToken* token : departed) {
    tokens_.forget(token);
    std::unique_ptr<CToken> gone = disownToken(token);
    if (gone && gone->keptAfterLeaving()) keptTokens_.push_back(std::move(gone));
  }
  updateTransitions(transitions_);
}
