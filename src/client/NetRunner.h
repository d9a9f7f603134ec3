// NetRunner: how gnxp runs a net, in this process or on a server, and the
// run itself: load, then the STEP batches, each document printed.
// Thread rule: single-threaded (gnxp's main thread).
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "client/GnxpOptions.h"

class CSimpleInterface;

// A failure: the one-line message and the exit status it gives.
struct RunFailure {
  int status = 1;
  std::string message;
};

class NetRunner {
 public:
  virtual ~NetRunner() = default;
  // Loads the definition; false with `failure` set.
  virtual bool load(RunFailure& failure) = 0;
  // Makes `count` steps and puts their events document in `document`;
  // `stepDone` is called after each step when the runner can tell. False
  // with `failure` set when the steps failed.
  virtual bool step(int count, const std::function<void()>& stepDone, std::string& document, RunFailure& failure) = 0;
  // Ends the conversation, if there is one.
  virtual void finish() {}
};

// Runs the definition file in this process; `log` (borrowed) receives the net's log.
std::unique_ptr<NetRunner> makeInProcessRunner(const GnxpOptions& options, CSimpleInterface& log);
// Runs the definition file on the server at options.host and options.port.
std::unique_ptr<NetRunner> makeRemoteRunner(const GnxpOptions& options);

// Loads, steps in batches and writes each events document to `out`; a
// failure is written to `errors` as "gnxp: <message>". The exit status.
int runNet(const GnxpOptions& options, NetRunner& runner, std::FILE* out, std::FILE* errors);

// Runs `body` and gives its exit status. An exception escaping it, running
// out of memory included, is written to `errors` as one line "gnxp: <reason>"
// and gives status 1: gnxp never ends in an abort.
int reportingFailures(const std::function<int()>& body, std::FILE* errors);

// The whole file at `path` in `text`; false with `failure` (status 2) set.
bool readDefinition(const std::string& path, std::string& text, RunFailure& failure);
