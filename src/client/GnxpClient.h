// GnxpClient: the client side of GNXP/0.1 over one TCP connection:
// identification, INIT with a definition, STEP, HALT, and both kinds of
// response. Used by gnxp, the end-to-end tests and the benchmarks.
// Thread rule: one client is used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// One server response: a status response has no body; a STEP answer has one.
struct GnxpResponse {
  std::string status;  // e.g. "200 Request completed successfully"
  bool hasBody = false;
  std::string body;
};

class GnxpClient {
 public:
  // A connected client, or null with `error` set to a one-line reason.
  static std::unique_ptr<GnxpClient> connect(const std::string& host, std::uint16_t port, std::string& error);
  // Closes the connection.
  ~GnxpClient();
  GnxpClient(const GnxpClient&) = delete;
  GnxpClient& operator=(const GnxpClient&) = delete;

  // Receives give up after `milliseconds` (0: wait for ever, the default).
  void setReceiveTimeout(int milliseconds);

  // Each returns false with error() set when the bytes could not be sent.
  bool sendRaw(std::string_view bytes);
  // Sends "GNXP/0.1\r\n".
  bool identify();
  // Sends INIT with a Content-Length and Content-Type header and the body.
  bool sendInit(std::string_view definition);
  // Sends a STEP line for `count` steps and an empty header block.
  bool sendStep(int count);
  // Sends "HALT\r\n".
  bool sendHalt();

  // Reads one response. False with error() set when the connection closed,
  // failed or timed out first, or the bytes are not a GNXP/0.1 response.
  bool readResponse(GnxpResponse& response);
  // Sends a request and reads its response.
  bool init(std::string_view definition, GnxpResponse& response);
  bool step(int count, GnxpResponse& response);

  // Reads whatever comes until the server closes the connection (or the
  // receive timeout passes): the bytes received; `closed` is true when the
  // server closed or reset the connection, false on a timeout.
  std::string readUntilClosed(bool& closed);

  const std::string& error() const { return error_; }

 private:
  explicit GnxpClient(int descriptor) : descriptor_(descriptor) {}
  // Makes at least one unread byte available; false at end of stream or failure.
  bool fill();
  bool readCrLfLine(std::string& line);
  bool readBytes(std::string& into, std::size_t count);
  bool fail(std::string message);

  int descriptor_;
  std::string buffer_;  // received and not yet consumed
  std::size_t consumed_ = 0;
  std::string error_;
  bool peerClosed_ = false;  // the peer closed or reset the connection
};
