// A net for model tests: a definition written to a fresh file, parsed and
// validated by the real schema, loaded with the built-ins registered; the log
// and the parser's standard-error reports are kept for the tests to read.
#pragma once

#include "RecordingLog.h"
#include "model/AbstractTransition.h"

#include <string>
#include <vector>

class CPlace;
class CSimpleTransition;
class CToken;

// The namespace and root around `body`; `rootAttributes` go inside the root tag.
std::string definitionText(const std::string& body, const std::string& rootAttributes = "");

class LoadedNet {
 public:
  // Writes the document (definitionText of body) and initialises a net from it.
  explicit LoadedNet(const std::string& body, const std::string& rootAttributes = "");
  // Initialises a net from the exact `document` text.
  static std::unique_ptr<LoadedNet> fromDocument(const std::string& document);
  ~LoadedNet();

  bool initialised() const { return initialised_; }
  CAbstractTransition& net() { return net_; }
  RecordingLog& log() { return log_; }
  const std::string& errors() const { return errors_; }

  // Objects by name; null when the name has no object.
  CPlace* place(const std::string& name);
  CSimpleTransition* transition(const std::string& name);
  CToken* token(const std::string& name);
  // The places table's names in order (after binding: the step's order).
  std::vector<std::string> placeOrder();
  // Log messages from the first one equal to `from` up to and including `to`.
  std::vector<std::string> logBetween(const std::string& from, const std::string& to) const;

 private:
  struct FromDocument {};
  LoadedNet(FromDocument, const std::string& document);
  void initialise(const std::string& document);

  std::string path_;
  RecordingLog log_;
  CAbstractTransition net_;
  bool initialised_ = false;
  std::string errors_;
};

// The folder the tests' files are written to; made on first use.
std::string testFolder();
