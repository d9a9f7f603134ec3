// Server: the abstract network front of the program.
// Thread rule: run executes on the thread that calls it (the calculations thread).
#pragma once

class CSimpleInterface;

class Server {
 public:
  virtual ~Server() = default;
  // Serves until it cannot go on; the log sink is borrowed and must outlive
  // every connection thread. Returns false when it stops.
  virtual bool run(CSimpleInterface& log) = 0;
  // Does nothing in TCPServer; nothing calls it.
  virtual void stop() = 0;
};
