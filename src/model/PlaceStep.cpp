// What a place does during a step: offering its tokens to the transition it
// feeds, receiving and merging arriving tokens, taking in entering tokens,
// releasing tokens from an exit place and committing its entries at step end.
// Thread rule: run by the thread that steps the net.
#include "model/StepReports.h"
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/Place.h"
#include "model/SimpleTransition.h"
#include "model/Token.h"
#include "model/TokenEntry.h"
#include "model/EventManager.h"

#include <cassert>
#include <memory>

namespace {

CTokenEntry* entryOf(CGNObject* item) { return static_cast<CTokenEntry*>(item); }

}  // namespace

// Entries are walked without the list's cursor: predicates and characteristic
// functions may read this list (and a self-loop may insert into it) meanwhile.
// Entries inserted during the walk carry another stamp and are skipped.
void CPlace::moveTokens() {
  if (!net_->runtimeOk()) return;
  const int time = net_->time();
  for (CGNObject* item : tokens_) {
    CTokenEntry* entry = entryOf(item);
    if (entry->stamp() != time) continue;
    if (inputOf_->tryMove(inputIndex_, entry->token())) {
      entry->setPresent(false);
      --presentCount_;
    }
    if (!net_->runtimeOk()) return;
  }
}

void CPlace::receive(CToken* token) {
  assert(token != nullptr && characteristicFunction_ != nullptr);
  if (CToken* kept = merge_ ? mergeTarget(*token) : nullptr) {
    mergeToken(token, *kept);
    token->leave();  // destroyed at the end of the step
    return;
  }
  auto entry = std::make_unique<CTokenEntry>(token, 0);
  if (CCharacteristic* characteristic = token->defaultCharacteristic()) characteristic->advance();
  // The token's host is still the place it came from while the function runs.
  characteristicFunction_->execute(token, nullptr, 0);
  if (!net_->runtimeOk()) reportCharacteristicError(*net_, *token, *this, token->host());
  entry->setStamp(net_->time() + 1);
  tokens_.insertByPriority(entry.release());  // the list owns its entries
  ++presentCount_;
  token->setHost(this);
  if (EventManager* events = net_->events()) events->movement(*token, *this);
}

// The first entry's token, even one that moved on during this step; but a
// token never merges into itself (a place feeding itself) nor into one merged
// away in this step: either would destroy both. Null when no token qualifies:
// the arriving token is then received as in any place.
CToken* CPlace::mergeTarget(const CToken& arriving) const {
  for (CGNObject* item : tokens_) {
    CToken* token = entryOf(item)->token();
    if (token != &arriving && token->host() != nullptr) return token;
  }
  return nullptr;
}

void CPlace::mergeToken(CToken* token, CToken& kept) {
  assert(mergeRule_ != nullptr);
  CObjectValue arriving(token);
  CTypedValue* arguments[] = {&arriving};
  mergeRule_->execute(&kept, arguments, 1);
  if (EventManager* events = net_->events()) events->merge(*token, *this, kept);
}

// A token entering the net, or one that split makes, is stamped 0: at time 0
// it then counts as there since the step began (wasthere), and one made
// before the first step (by the start function) moves in it. While the places
// are walked it takes the next step's time instead, so that at time 0 the walk
// cannot move it in the step that made it.
void CPlace::addToken(CToken* token) {
  const int stamp = net_->walkingPlaces() ? net_->time() + 1 : 0;
  tokens_.insertByPriority(std::make_unique<CTokenEntry>(token, stamp).release());  // the list owns it
  ++presentCount_;
}

void CPlace::releaseExits() {
  const int time = net_->time();
  tokens_.first();
  while (!tokens_.atEnd()) {
    CTokenEntry* entry = entryOf(tokens_.current());
    if (entry->stamp() != time) {
      tokens_.next();
      continue;
    }
    CToken* token = entry->token();
    token->leave();
    net_->tokensTable().release(token);
    if (EventManager* events = net_->events()) events->exit(*token, *this);
    if (entry->present()) --presentCount_;
    tokens_.removeCurrent();
  }
}

void CPlace::commitStep() {
  const int time = net_->time();
  tokens_.first();
  while (!tokens_.atEnd()) {
    CTokenEntry* entry = entryOf(tokens_.current());
    if (!entry->present()) {
      tokens_.removeCurrent();
      continue;
    }
    entry->setStamp(time);
    tokens_.next();
  }
}
