// A token generator's work at one of its check times: deciding, naming and
// entering a copy of its template, then moving on to the next check time.
// Thread rule: run by the thread that steps the net.
#include "lang/Function.h"
#include "model/AbstractTransition.h"
#include "model/NetRandom.h"
#include "model/Token.h"
#include "model/TokenGenerator.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace {

using Type = CTokenGenerator::Type;
using PredicateKind = CTokenGenerator::PredicateKind;

// Periodic and random generators always make a token; a conditional one asks
// its predicate; one of no known type makes a token only when a predicate
// function returns nonzero (constants make none). A predicate's runtime error
// counts as 0, and its own report is all that is written.
bool decides(Type type, PredicateKind kind, CFunction* predicate) {
  if (type == Type::Periodic || type == Type::Random) return true;
  if (kind == PredicateKind::Function) return predicate->execute(nullptr, nullptr, 0) != 0;
  return type == Type::Conditional && kind == PredicateKind::True;
}

// The first prefix_N name, from N = count + 1 on, that the tokens table does not
// hold yet; count is advanced to that N. Skipping taken names keeps every name in
// the net unique: a generated token never takes over the entry of a token of the
// same name still in the net. The table's capacity bounds the skipping.
std::string freeName(NameTable& tokens, const std::string& prefix, int& count) {
  std::string name;
  do {
    ++count;
    name = prefix + "_" + std::to_string(count);
  } while (tokens.contains(name) && count < std::numeric_limits<int>::max());
  return name;
}

// Sums beyond the clock's range are held at its ends: such a time is never met.
int advance(int time, std::int64_t interval) {
  const std::int64_t next = time + interval;
  if (next > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (next < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(next);
}

// A random generator waits 1 to period steps. With a period of 0 or less there is
// no such interval: it then moves on by its period as a periodic generator does,
// so it makes its one token at its entering time and never another.
std::int64_t interval(Type type, int period, NetRandom& random) {
  if (type == Type::Random && period > 0) return random.next() % period + 1;
  return period;
}

}  // namespace

// A generated name the tokens table refuses (a full table, an over-long name) is
// logged by the table; the copy is then dropped and nothing enters.
void CTokenGenerator::generate() {
  if (decides(type_, predicateKind_, predicate_)) {
    NameTable& tokens = net_->tokensTable();
    const std::string name = freeName(tokens, namePrefix_, generatedCount_);
    auto token = std::make_unique<CToken>(*template_);
    if (tokens.define(name, token.get()) >= 0) {
      CToken* entering = net_->adoptToken(std::move(token));
      entering->setEntering(nextTime_);
      entering->enter();
    }
  }
  nextTime_ = advance(nextTime_, interval(type_, period_, net_->random()));
}
