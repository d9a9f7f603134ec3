// NetSession: the net of one conversation together with its event sender,
// as the conversation drives them; the factory makes the real one, tests
// make their own.
// Thread rule: used only by its conversation's thread.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

class CSimpleInterface;
class ResponseSink;
class WorkWatcher;

class NetSession {
 public:
  virtual ~NetSession() = default;
  // Builds the net from the saved definition at `definitionPath`, reporting
  // its events documents to `sink`; `watcher` (may be null) is asked during
  // long work whether to stop. Both are borrowed and must outlive the session.
  // False when the net was not built; the net has then logged why.
  virtual bool initialize(CSimpleInterface& log, std::string_view definitionPath, ResponseSink& sink,
                          WorkWatcher* watcher) = 0;
  // Starts a new, empty events document.
  virtual void resetEvents() = 0;
  // One step of the net; runtime errors are recorded, never thrown.
  virtual void step() = 0;
  // False once any runtime error has happened in this net.
  virtual bool runtimeOk() const = 0;
  // Serialises the events document and hands it to the sink.
  virtual void sendEvents() = 0;
};

// Makes a new, empty session; the caller owns it.
using NetSessionFactory = std::function<std::unique_ptr<NetSession>()>;

// The real session: a CAbstractTransition with built-ins and an XMLEventSender.
std::unique_ptr<NetSession> makeNetSession();
