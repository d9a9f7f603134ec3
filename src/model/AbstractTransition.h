// CAbstractTransition: the whole net of one conversation: its name tables,
// the objects it owns, its clock, the entering queue, its generators, and the
// loading, binding and stepping of it all.
// Ownership: the net owns every object registered in its tables, every token
// and every generator, whether or not loading succeeded; the definition
// document lives only while initialize builds the net from it.
// Thread rule: built, stepped and destroyed by one conversation's thread.
#pragma once

#include "model/NameTable.h"
#include "model/NetRandom.h"
#include "model/Transition.h"
#include "model/WorkPoll.h"

#include <memory>
#include <queue>
#include <string>
#include <string_view>
#include <vector>

class CFunction;
class DefinitionNode;
class CPlace;
class CSimpleInterface;
class CSimpleTransition;
class CToken;
class CTokenGenerator;
class EventManager;

class CAbstractTransition final : public CTransition {
 public:
  // Paths longer than this are refused by initialize.
  static constexpr std::size_t kMaxPath = 254;

  CAbstractTransition();
  ~CAbstractTransition() override;
  CAbstractTransition(const CAbstractTransition&) = delete;
  CAbstractTransition& operator=(const CAbstractTransition&) = delete;

  // Binds the net to its log sink (borrowed, must outlive the net), its
  // definition file, the prefix of function file names and its event sink
  // (borrowed, may be null). Empties the tables and resets the clock.
  void prepare(CSimpleInterface* log, std::string_view definitionPath, std::string_view filePrefix,
               EventManager* events);
  // Parses the definition file and builds the net; false with log messages
  // (a path or prefix longer than kMaxPath is refused).
  // REQUIRES: prepare was called.
  bool initialize();
  // Reads the whole document from its root element: every section, the root's
  // "fundefs" and "time", binding, then "GNInit". False when a section fails,
  // a table refused a name, binding fails or "GNInit" gives 0. What was created
  // stays with the net until it is destroyed.
  bool load(const DefinitionNode& root) override;
  // The binding pass over places, functions, tokens, generators, transitions,
  // then the place sort. Every pass runs even after a failure.
  bool bindAll();
  // One simulation step.
  void step();
  // Asked by long work (each step, and the language at every loop turn and
  // user function call); false once the watcher has stopped the work, which
  // is then a runtime error: the net never steps again.
  bool keepWorking() {
    if (work_.keepGoing()) return true;
    runtimeOk_ = false;
    return false;
  }
  // `watcher` (borrowed, may be null) decides when long work stops.
  // REQUIRES: prepare was called (a stop is reported to its log).
  void watchWork(WorkWatcher* watcher) { work_.install(watcher, log_); }

  bool runtimeOk() const { return runtimeOk_; }
  void markRuntimeError() { runtimeOk_ = false; }
  bool initialised() const { return initialised_; }
  int time() const { return time_; }
  // True while a step walks its places, moving and releasing tokens.
  bool walkingPlaces() const { return walkingPlaces_; }

  // Ownership: the net keeps what it is given here until it is destroyed
  // (tokens until the end of the step in which they left the net, unless a
  // frame names them: those stay until the net is destroyed).
  CPlace* adoptPlace(std::unique_ptr<CPlace> place);
  CSimpleTransition* adoptTransition(std::unique_ptr<CSimpleTransition> transition);
  CFunction* adoptFunction(std::unique_ptr<CFunction> function);
  CToken* adoptToken(std::unique_ptr<CToken> token);
  CTokenGenerator* adoptGenerator(std::unique_ptr<CTokenGenerator> generator);
  // Queues a bound token for entering (ordered by its entering time).
  void queueForEntering(CToken* token);
  // The number of tokens the net owns, departed ones included until their step
  // ends (not those a frame keeps after they left).
  int ownedTokenCount() const { return static_cast<int>(ownedTokens_.size()); }

  NameTable& transitionsTable() { return transitions_; }
  NameTable& placesTable() { return places_; }
  NameTable& functionsTable() { return functions_; }
  NameTable& tokensTable() { return tokens_; }
  const std::string& tokenName(const CToken* token) const;          // "NotFound" when unknown
  const std::string& placeName(const CPlace* place) const;          // "NotFound." when unknown
  const std::string& transitionName(const CSimpleTransition* t) const;
  const std::string& functionName(const CFunction* function) const;

  CSimpleInterface& log() const { return *log_; }
  EventManager* events() const { return events_; }
  const std::string& definitionPath() const { return definitionPath_; }
  const std::string& filePrefix() const { return filePrefix_; }
  CFunction* traceFunction() const { return traceFunction_; }
  const std::vector<std::unique_ptr<CTokenGenerator>>& generators() const { return generators_; }
  // The net's own pseudo-random generator (random, generators, file names).
  NetRandom& random() { return random_; }

  // End of step: clock, place commits, stored characteristics, destruction
  // of tokens that left, transition activity.
  void endStep();

 private:
  // Parses the definition file and loads it; false after log messages.
  bool parseAndLoad();
  // Loading, one section and one section child at a time; false stops the load.
  bool loadSection(const DefinitionNode& section);
  bool loadSectionItems(const DefinitionNode& section, const char* header,
                        bool (CAbstractTransition::*loadItem)(const DefinitionNode&));
  bool loadTransition(const DefinitionNode& item);
  bool loadPlace(const DefinitionNode& item);
  bool loadFunctionItem(const DefinitionNode& item);
  bool loadTokenItem(const DefinitionNode& item);
  // True once any table refused a name: such a definition does not load.
  bool anyNameRefused() const;
  // The function registered under `name`, or null; never adds the name.
  CFunction* registeredFunction(std::string_view name);
  template <typename Object, typename Bind>
  bool bindTable(NameTable& table, Bind bind);
  // Takes a token the net owns out of ownedTokens_ (one that left the net or
  // was merged away, already out of every table, place and queue); null when
  // the net does not own it.
  std::unique_ptr<CToken> disownToken(CToken* token);

  struct EnteringLater {
    bool operator()(const CToken* a, const CToken* b) const;
  };

  int time_ = 0;
  NameTable transitions_;
  NameTable places_;
  NameTable functions_;
  NameTable tokens_;
  std::vector<std::unique_ptr<CSimpleTransition>> ownedTransitions_;
  std::vector<std::unique_ptr<CPlace>> ownedPlaces_;
  std::vector<std::unique_ptr<CFunction>> ownedFunctions_;
  // In no particular order: each token knows its index, so that destroying
  // one costs the same in any net, and the end of a step walks them densely.
  std::vector<std::unique_ptr<CToken>> ownedTokens_;
  // Tokens that left the net while a function's frame names them.
  std::vector<std::unique_ptr<CToken>> keptTokens_;
  std::vector<std::unique_ptr<CTokenGenerator>> generators_;
  std::priority_queue<CToken*, std::vector<CToken*>, EnteringLater> enteringQueue_;
  std::string definitionPath_;
  std::string filePrefix_;
  bool runtimeOk_ = true;
  bool initialised_ = false;
  bool walkingPlaces_ = false;
  CFunction* traceFunction_ = nullptr;
  EventManager* events_ = nullptr;
  CSimpleInterface* log_ = nullptr;
  NetRandom random_;
  WorkPoll work_;
};
