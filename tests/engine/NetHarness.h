// A net for engine tests: built in-process from the body of a definition
// document, with a recording log and an event sink that remembers every report
// as text ("movement k B"), so tests read the steps' events as the events
// document would list them.
#pragma once

#include "RecordingLog.h"
#include "model/AbstractTransition.h"
#include "model/EventManager.h"

#include <cstdint>
#include <string>
#include <vector>

// One report: "<kind> <token> <place>" (a merge adds the kept token), the net
// time at the report, and the characteristics as "name=text" joined by ",".
struct RecordedEvent {
  int time;
  std::string text;
  std::string characteristics;
};

class RecordingEvents final : public EventManager {
 public:
  explicit RecordingEvents(const CAbstractTransition& net) : net_(net) {}
  bool probe(std::uintptr_t) override { return true; }
  void movement(const CToken& token, const CPlace& place) override;
  void entrance(const CToken& token, const CPlace& place) override;
  void exit(const CToken& token, const CPlace& place) override;
  void merge(const CToken& oldToken, const CPlace& place, const CToken& newToken) override;

  const std::vector<RecordedEvent>& events() const { return events_; }

 private:
  void record(const std::string& text, const CToken* described);

  const CAbstractTransition& net_;
  std::vector<RecordedEvent> events_;
};

// A definition document already on disk (kept as it is).
struct DefinitionFile {
  std::string path;
};

class TestNet {
 public:
  // Writes <gn xmlns=...>body</gn> to a fresh file and initialises a net from it.
  explicit TestNet(const std::string& body);
  explicit TestNet(const DefinitionFile& file);
  ~TestNet();
  TestNet(const TestNet&) = delete;
  TestNet& operator=(const TestNet&) = delete;

  bool initialised() const { return initialised_; }
  // One step; the texts of the events it reported, in order.
  std::vector<std::string> step();
  // `count` steps; every event with its time.
  std::vector<RecordedEvent> run(int count);

  CAbstractTransition& net() { return net_; }
  RecordingLog& log() { return log_; }
  const RecordingEvents& events() const { return events_; }
  // The tokens-table index of `name`, or -1 (without adding the name).
  int tokenIndex(const std::string& name);

 private:
  void initialize();

  std::string path_;
  bool ownsFile_;
  RecordingLog log_;
  CAbstractTransition net_;
  RecordingEvents events_{net_};
  bool initialised_ = false;
};

// A definition document: the namespace and root around `body`.
std::string definitionDocument(const std::string& body);
