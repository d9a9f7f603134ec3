// GNXP01Proxy: the GNXP/0.1 conversation with one client: requests in,
// status and events responses out, and the one net the conversation builds.
// Thread rule: created, run and destroyed on its connection's thread.
//
// Wire format, client to server (every line ends with "\r" and one more byte):
//   request  = "INIT" headers body | "STEP" [" " count] headers | "HALT" | "GNXP/0.1"
//   headers  = { name ":" separator value } empty-line
//   body     = exactly Content-Length bytes
// Server to client:
//   status   = "GNXP/0.1\r\n" text "\r\n\r\n"
//   events   = "GNXP/0.1\r\n" "200 Request completed sucessfully\r\n"
//              "Content-Length: " n "\r\n\r\n" n bytes
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "server/ClientToGNProxy.h"
#include "server/ConversationWatch.h"
#include "server/NetSession.h"
#include "server/ServerLimits.h"

class GNXP01Proxy final : public ClientToGNProxy {
 public:
  // Logged when an exception of any kind escapes a request; the conversation ends.
  static constexpr std::string_view kUnhandledException =
      "Unhadled exception during GNXP/0.1 transmition. Possible reason: connection aborted.";

  // `sessions` makes the net when INIT asks for one; the conversation is held
  // to `limits` (the handshake's own deadline is set by whoever identified
  // the client).
  explicit GNXP01Proxy(NetSessionFactory sessions, ConversationLimits limits = {});
  // Closes the connection, logs the farewell, then releases the net.
  ~GNXP01Proxy() override;
  GNXP01Proxy(const GNXP01Proxy&) = delete;
  GNXP01Proxy& operator=(const GNXP01Proxy&) = delete;

  void attach(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log) override;
  // REQUIRES: attached.
  void run() override;
  // Sends an events document as the body response; false (logged) when the
  // send failed.
  bool sendResponse(std::string_view body) override;

  // Reads and carries out one request; true to go on with the conversation.
  bool handleRequest();
  // The name the INIT body is saved under, from the connection's handle.
  static std::string definitionFileName(long handle);

 private:
  bool readLine(std::string& line);
  void readHeaders();
  bool readHeader();
  void interpretHeader(std::string_view line, std::size_t colon);
  bool receiveBody(const std::string& path, std::size_t count);
  bool sendStatus(std::string_view text);
  bool handleInit();
  bool handleStep(int count);
  bool refuseMethod(const std::string& line);
  // The request's work was stopped because the client has gone: nothing is sent.
  bool abandonRequest();

  // Constant after attach.
  CSimpleInterface* log_ = nullptr;
  std::unique_ptr<BufferedConnection> connection_;
  std::optional<ConversationWatch> watch_;  // what the net asks during long work
  NetSessionFactory sessions_;
  ConversationLimits limits_;
  // Set when the first request line has arrived: the handshake is over.
  bool handshakeDone_ = false;
  // Set at the start of every header block.
  std::int64_t contentLength_ = -1;  // -1: no usable Content-Length seen
  int contentType_ = -1;             // -1 none, 1 "text/xml", 2 another value
  // Null until INIT creates it.
  std::unique_ptr<NetSession> session_;
};
