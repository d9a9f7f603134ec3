// The net's binding pass: resolving every name of places, functions, tokens,
// generators and transitions, then ordering the places for the step.
#include "model/AbstractTransition.h"

#include "base/SimpleInterface.h"
#include "lang/Function.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

namespace {

// Place a comes before place b: places fed by a transition first, by the
// feeding transition's priority, then by place priority. Entries without a
// place (never defined) count as places fed by nothing, of the lowest priority.
bool placeBefore(const CGNObject* a, const CGNObject* b) {
  const auto* placeA = static_cast<const CPlace*>(a);
  const auto* placeB = static_cast<const CPlace*>(b);
  const CSimpleTransition* feedsA = placeA != nullptr ? placeA->outputOf() : nullptr;
  const CSimpleTransition* feedsB = placeB != nullptr ? placeB->outputOf() : nullptr;
  if ((feedsA != nullptr) != (feedsB != nullptr)) return feedsA != nullptr;
  if (feedsA != nullptr && feedsA->priority() != feedsB->priority()) return feedsA->priority() > feedsB->priority();
  if (placeA == nullptr || placeB == nullptr) return placeB == nullptr && placeA != nullptr;
  return placeA->priority() > placeB->priority();
}

}  // namespace

// Binds every defined entry of a table in order; reports every entry that
// was referred to but never defined. True when nothing failed.
template <typename Object, typename Bind>
bool CAbstractTransition::bindTable(NameTable& table, Bind bind) {
  bool ok = true;
  for (int i = 0; i < table.count(); ++i) {
    if (table.stateAt(i) == NameTable::State::Undefined) {
      log_->write("***Undefined object found:");
      log_->write(table.nameAt(i));
      ok = false;
      continue;
    }
    CGNObject* object = table.objectAt(i);
    if (object != nullptr && !bind(static_cast<Object&>(*object))) ok = false;
  }
  return ok;
}

bool CAbstractTransition::bindAll() {
  bool ok = true;
  ok = bindTable<CPlace>(places_, [](CPlace& place) { return place.bind(); }) && ok;
  ok = bindTable<CFunction>(functions_, [](CFunction& function) { return function.bind(); }) && ok;
  ok = bindTable<CToken>(tokens_, [](CToken& token) { return token.bind() != nullptr; }) && ok;
  for (auto generator = generators_.begin(); ok && generator != generators_.end(); ++generator) {
    ok = (*generator)->bind();
  }
  ok = bindTable<CSimpleTransition>(transitions_, [](CSimpleTransition& t) { return t.bind(); }) && ok;
  places_.sort(placeBefore);
  return ok;
}
