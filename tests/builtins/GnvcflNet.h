// A net built from a definition document for end-to-end tests of built-ins:
// places A and B joined by a transition that never fires, token k (Default 1,
// history 2) and any further tokens standing in A after one step, and the
// given GNVCFL source. Functions run for k through the net's own call.
#pragma once

#include "RecordingEvents.h"
#include "RecordingLog.h"
#include "model/AbstractTransition.h"

#include <string>

class CPlace;
class CToken;

// What one function call for token k did.
struct FunctionRun {
  int returned = 0;
  bool runtimeOk = true;
  std::string log;     // every log message of the call, joined with line feeds
  std::string errors;  // what the call wrote to standard error
};

class GnvcflNet {
 public:
  // Frame text "2;places.A.obj;places.B.obj" gives #0 = A and #1 = B.
  static constexpr const char* kFrame = "\"2;places.A.obj;places.B.obj\"";

  // `tokens`: further token elements, entering A at time 0.
  explicit GnvcflNet(const std::string& source, const std::string& tokens = "");
  ~GnvcflNet();
  GnvcflNet(const GnvcflNet&) = delete;
  GnvcflNet& operator=(const GnvcflNet&) = delete;

  // True when the definition loaded and k stands in A; else the log says why.
  bool ready() const { return ready_; }
  // Runs the user function `name` for token k with no arguments.
  FunctionRun run(const std::string& name);
  // The token registered under `name`, or null.
  CToken* token(const std::string& name);
  // The literal form of k's characteristic `name`, or "<none>".
  std::string characteristic(const std::string& name);
  CPlace* place(const std::string& name);

  CAbstractTransition& net() { return net_; }
  RecordingLog& log() { return log_; }
  const RecordingEvents& events() const { return events_; }

 private:
  std::string path_;
  RecordingLog log_;
  RecordingEvents events_;
  CAbstractTransition net_;
  bool ready_ = false;
};

// The literal form of `expression` evaluated in a function run for k, or
// "error: <message>" with the runtime error's message when it fails.
std::string evaluate(const std::string& expression);
