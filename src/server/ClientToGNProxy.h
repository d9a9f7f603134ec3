// ClientToGNProxy: a protocol handler bound to one client connection, and
// ResponseSink, the one operation through which an events document leaves.
// Thread rule: a proxy lives on its connection's thread.
#pragma once

#include <memory>
#include <string_view>

class BufferedConnection;
class CSimpleInterface;

// Where a finished events document goes.
class ResponseSink {
 public:
  // Sends `body` as the answer to the current request; true when it all went out.
  virtual bool sendResponse(std::string_view body) = 0;

 protected:
  ~ResponseSink() = default;
};

class ClientToGNProxy : public ResponseSink {
 public:
  virtual ~ClientToGNProxy() = default;
  // Takes the connection (owned from now on, closed when the proxy is
  // destroyed) and the log sink (borrowed; must outlive the proxy).
  virtual void attach(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log) = 0;
  // Holds the whole conversation; returns when it is over.
  virtual void run() = 0;
};
