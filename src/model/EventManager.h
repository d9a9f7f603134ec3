// EventManager: the sink to which a stepping net reports what happens to its
// tokens. XMLEventSender is its one implementation.
// Thread rule: used by the thread of the conversation that owns the net.
#pragma once

#include <cstdint>

class CPlace;
class CToken;

class EventManager {
 public:
  // Returns true and does nothing else; nothing calls it.
  virtual bool probe(std::uintptr_t argument) = 0;
  // `token` has moved into `place` (after the place's characteristic function ran).
  virtual void movement(const CToken& token, const CPlace& place) = 0;
  // `token` has entered the net at `place`.
  virtual void entrance(const CToken& token, const CPlace& place) = 0;
  // `token` has left the net from `place`.
  virtual void exit(const CToken& token, const CPlace& place) = 0;
  // In `place`, `oldToken` has been merged into `newToken`.
  virtual void merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) = 0;

 protected:
  ~EventManager() = default;
};
