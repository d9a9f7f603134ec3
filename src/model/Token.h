// CToken: what moves through a net; its named characteristics and their history.
// Thread rule: read and written only by the thread that steps its net.
#pragma once

#include "model/Characteristic.h"
#include "model/GNObject.h"

#include <map>
#include <memory>
#include <string>

class CAbstractTransition;
class DefinitionNode;
class CPlace;

class CToken final : public CGNObject {
 public:
  // Ordered by byte-wise name comparison (std::string compares bytes unsigned).
  using CharacteristicMap = std::map<std::string, std::unique_ptr<CCharacteristic>>;

  explicit CToken(CAbstractTransition& net);
  // A generator's copy: the template's priority, entering time, net and host;
  // each characteristic anew with the same history length, every slot a clone
  // of the template's live value. The default characteristic is chosen again.
  explicit CToken(const CToken& templateToken);
  CToken& operator=(const CToken&) = delete;
  ~CToken() override;
  int kind() const override { return kKindToken; }

  // Reads a token element (also a generator element, for its template); with
  // `registering` the id is defined in the tokens table. False when a
  // characteristic is refused (unknown type, over-long name, history outside
  // 0 to CCharacteristic::kMaxHistory) or a name is refused by its table, logged.
  bool load(const DefinitionNode& element, bool registering);
  // Resolves the host place and queues the token for entering; null when the
  // host names no defined place.
  CPlace* bind();
  // Writes "*token infomation\n" and the rest of the token report.
  void print(std::ostream& out) const override;
  // References to a token hold its lifeline (made on first use), cut when the
  // token is destroyed; it then carries the name the token left with.
  Lifeline* lifeline() override;
  // Enters the net at its host place (step engine).
  void enter();
  // Leaves the net (through an exit, or merged away): no host from now on, so
  // the end of the step destroys it, unless a frame keeps it.
  void leave();
  // A function's frame names this token: after it leaves, the net keeps it,
  // with the values it left with, for as long as the net lives.
  void keepAfterLeaving() { keptAfterLeaving_ = true; }
  bool keptAfterLeaving() const { return keptAfterLeaving_; }

  CAbstractTransition& net() const { return *net_; }
  const CharacteristicMap& characteristics() const { return characteristics_; }
  // The characteristic named `name`, or null.
  CCharacteristic* characteristic(const std::string& name) const;
  // Stores `c` under `name`, replacing (and destroying) one of the same name;
  // a replaced default characteristic hands the default over to `c`.
  void putCharacteristic(const std::string& name, std::unique_ptr<CCharacteristic> c);
  // Removes the name from the map and destroys the characteristic, except the
  // default, which lives on with the token and stays its default (functions
  // and frames point to it). False when not found.
  bool removeCharacteristic(const std::string& name);
  // "Default" if present, else the first in name order, else none.
  void chooseDefaultCharacteristic();
  CCharacteristic* defaultCharacteristic() const { return defaultCharacteristic_; }

  int entering() const { return entering_; }
  void setEntering(int time) { entering_ = time; }
  // The place the token is in (or will enter at); null once it left the net or
  // was merged away.
  CPlace* host() const { return host_; }
  void setHost(CPlace* place) { host_ = place; }
  // The places-table index of the host name, between load and bind.
  int hostIndex() const { return hostIndex_; }
  void setHostIndex(int index) { hostIndex_ = index; }
  // Where the owning net keeps the token (its bookkeeping; -1 while not adopted).
  int ownedIndex() const { return ownedIndex_; }
  void setOwnedIndex(int index) { ownedIndex_ = index; }

 private:
  // One child of a token element; false (logged) for a name, history or type refused.
  bool loadCharacteristic(const DefinitionNode& child);
  // Gives the lifeline, if there is one, the token's name.
  void nameLifeline();

  // What every move reads comes first, so that it shares the fewest cache lines.
  CCharacteristic* defaultCharacteristic_ = nullptr;
  CPlace* host_ = nullptr;
  CharacteristicMap characteristics_;
  CAbstractTransition* net_;
  // The default characteristic once its name was removed: the one removed
  // characteristic anything may still point to.
  std::unique_ptr<CCharacteristic> removedDefault_;
  Lifeline::Ref lifeline_;
  int entering_ = 0;
  int hostIndex_ = -1;
  int ownedIndex_ = -1;
  bool keptAfterLeaving_ = false;
};
