// An event sink for built-in tests: remembers every entrance with its token
// and place, and the kind of every report in order.
#pragma once

#include "model/EventManager.h"

#include <string>
#include <vector>

class RecordingEvents final : public EventManager {
 public:
  bool probe(std::uintptr_t) override { return true; }
  void movement(const CToken&, const CPlace&) override { record("movement"); }
  void entrance(const CToken& token, const CPlace& place) override {
    entered.push_back({&token, &place});
    record("entrance");
  }
  void exit(const CToken&, const CPlace&) override { record("exit"); }
  void merge(const CToken&, const CPlace&, const CToken&) override { record("merge"); }

  struct Entrance {
    const CToken* token;
    const CPlace* place;
  };
  std::vector<Entrance> entered;
  std::vector<std::string> kinds;

 private:
  void record(const char* kind) { kinds.emplace_back(kind); }
};
