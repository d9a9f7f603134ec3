// What a transition does during a step: routing an arriving token to the first
// output that admits it, evaluating predicates, and its activity window.
// Thread rule: run by the thread that steps the net.
#include "model/StepReports.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"

#include <cassert>
#include <cstdint>

namespace {

// Place capacity is the only bound on flow: -1 means no limit; the arc
// capacity matrix is read and logged but never consulted here.
bool hasRoom(const CPlace& place) { return place.capacity() == -1 || place.presentCount() < place.capacity(); }

}  // namespace

// Capacity is tested before the predicate, so a full output's predicate never
// runs; the first admissible output takes the token and later ones are not tried.
bool CSimpleTransition::tryMove(int row, CToken* token) {
  for (CGNObject* item : outputs_) {
    auto* place = static_cast<CPlace*>(item);
    if (!hasRoom(*place) || !predicateHolds(row, place->outputIndex(), token)) continue;
    place->receive(token);
    return true;
  }
  return false;
}

bool CSimpleTransition::predicateHolds(int row, int column, CToken* token) {
  switch (predicates_->cell(row, column)) {
    case PredicateMatrix::Cell::False:
      return false;
    case PredicateMatrix::Cell::True:
      return true;
    case PredicateMatrix::Cell::Function:
      break;
  }
  CFunction* predicate = predicates_->function(row, column);
  assert(predicate != nullptr);  // binding resolved every function cell
  const int result = predicate->execute(token, nullptr, 0);
  if (!net_->runtimeOk()) reportPredicateError(*net_, *this, row, column, predicate);
  return result != 0;
}

// Active while startTime <= time and, unless lifeTime is -1, time < startTime + lifeTime.
void CSimpleTransition::updateActive() {
  const std::int64_t time = net_->time();
  const bool started = startTime_ <= time;
  const bool ended = lifeTime_ != -1 && time >= static_cast<std::int64_t>(startTime_) + lifeTime_;
  active_ = started && !ended;
}
