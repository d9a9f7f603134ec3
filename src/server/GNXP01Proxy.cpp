// GNXP01Proxy: requests, headers, the INIT body, and responses.
#include "server/GNXP01Proxy.h"

#include <cassert>
#include <cstdio>

#include "base/SimpleInterface.h"
#include "server/BufferedConnection.h"
#include "server/GnxpRequest.h"

namespace {

constexpr std::string_view kProtocolLine = "GNXP/0.1\r\n";
constexpr std::string_view kStatusEnd = "\r\n\r\n";
constexpr std::string_view kInitDone = "200 Request completed successfully";
constexpr std::string_view kStepDone = "200 Request completed sucessfully\r\n";
constexpr std::string_view kMalformed = "100 Malformed request";
constexpr std::string_view kNotImplemented = "102 Method not implemented";
constexpr std::string_view kDefinitionError = "500 GN definition error";
constexpr std::string_view kRuntimeError = "502 Runtime error";
constexpr std::string_view kSendError = "GNXP/0.1 Proxy: Error sending data...";

}  // namespace

GNXP01Proxy::GNXP01Proxy(NetSessionFactory sessions, ConversationLimits limits)
    : sessions_(std::move(sessions)), limits_(limits) {}

GNXP01Proxy::~GNXP01Proxy() {
  connection_.reset();
  if (log_ != nullptr) log_->write("GNXP 0.1 communication terminated...");
  session_.reset();
}

void GNXP01Proxy::attach(std::unique_ptr<BufferedConnection> connection, CSimpleInterface& log) {
  session_.reset();
  connection_ = std::move(connection);
  watch_.emplace(*connection_, limits_.requestCpu);
  log_ = &log;
}

std::string GNXP01Proxy::definitionFileName(long handle) {
  char name[64];
  std::snprintf(name, sizeof name, "remote file %lX.xml", static_cast<unsigned long>(handle));
  return name;
}

void GNXP01Proxy::run() {
  assert(connection_ && log_);
  log_->write("GNXP 0.1 communication successfully initiated...");
  try {
    while (handleRequest()) {
    }
  } catch (...) {
    log_->write(kUnhandledException);
  }
}

bool GNXP01Proxy::handleRequest() {
  std::string line;
  bool read = readLine(line);
  if (!handshakeDone_) {
    handshakeDone_ = true;
    connection_->limitWaits(kNoDeadline, limits_.idle);
  }
  if (!read && connection_->timedOut()) {
    log_->write("GNXP/0.1 Proxy: No request received in time. Closing connection.");
    return false;
  }
  if (!read || line.empty()) {
    log_->write("GNXP/0.1 ERROR: Empty command request.");
    sendStatus(kMalformed);
    return false;
  }
  if (line == "GNXP/0.1") return true;
  if (line == "INIT") return handleInit();
  if (line == "HALT") return false;
  if (line.find("STEP") != std::string::npos) return handleStep(stepCount(line));
  return refuseMethod(line);
}

bool GNXP01Proxy::refuseMethod(const std::string& line) {
  log_->write("GNXP/0.1 ERROR: Unrecognized method name:");
  log_->write(line);
  sendStatus(kNotImplemented);
  return false;
}

bool GNXP01Proxy::readLine(std::string& line) {
  if (!connection_->readLine(line)) return false;
  log_->write("***Received message:");
  log_->write(line);
  return true;
}

void GNXP01Proxy::readHeaders() {
  contentLength_ = -1;
  contentType_ = -1;
  while (readHeader()) {
  }
}

bool GNXP01Proxy::readHeader() {
  std::string line;
  if (!readLine(line) || line.empty()) return false;
  std::size_t colon = line.find(':');
  if (colon == std::string::npos) {
    log_->write("Malformed header. ':' symbol missing. Possibly missing double \r\n at headers end. Header:");
    log_->write(line);
    return false;
  }
  interpretHeader(line, colon);
  return true;
}

void GNXP01Proxy::interpretHeader(std::string_view line, std::size_t colon) {
  std::string_view name = line.substr(0, colon);
  std::string_view value = line.substr(colon + 1);
  if (name == "Content-Length") {
    contentLength_ = contentLengthAfter(value, contentLength_);
  } else if (name == "Content-Type") {
    contentType_ = value == "text/xml" ? 1 : 2;
  } else {
    log_->write("GNXP/0.1 WARNING: Unknown header name:");
    log_->write(name);
  }
}

bool GNXP01Proxy::receiveBody(const std::string& path, std::size_t count) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) {
    log_->write("GNXP/0.1 Proxy: Error creating temporary file.");
    return false;
  }
  // The body goes to the file as it arrives: a large definition never sits
  // whole in memory before the parser reads it.
  bool written = true;
  bool received = connection_->readBody(count, [&](std::string_view piece) {
    written = std::fwrite(piece.data(), 1, piece.size(), file.get()) == piece.size();
    return written;
  });
  if (!received && written) {
    // What arrived of a body cut short is not kept: the file is emptied again.
    file.reset();
    file.reset(std::fopen(path.c_str(), "wb"));
    log_->write("GNXP/0.1 Proxy: Wrong number of bytes sent for message body.");
    return false;
  }
  // A full disk must not pass for a saved definition.
  if (std::fclose(file.release()) != 0 || !written) {
    log_->write("GNXP/0.1 Proxy: Error writing the definition file.");
    return false;
  }
  return true;
}

bool GNXP01Proxy::handleInit() {
  if (session_) {
    log_->write("GNXP/0.1 Proxy: Only one call of INIT is allowed.");
    return false;
  }
  readHeaders();
  if (contentLength_ < 0) {
    log_->write("Invalid headers...");
    sendStatus(kMalformed);
    return false;
  }
  std::string path = definitionFileName(connection_->handle());
  if (!receiveBody(path, static_cast<std::size_t>(contentLength_))) {
    log_->write("GNXP/0.1 Proxy: Error receiving XML definition");
    return false;
  }
  session_ = sessions_();
  watch_->startRequest();
  if (!session_->initialize(*log_, path, *this, &*watch_)) {
    if (watch_->clientGone()) return abandonRequest();
    log_->write("GN Initialization failure.");
    sendStatus(kDefinitionError);
    return false;
  }
  log_->write("GN Initialization successful.");
  sendStatus(kInitDone);
  return true;
}

bool GNXP01Proxy::handleStep(int count) {
  readHeaders();
  if (!session_) {
    log_->write("GNXP/0.1 proxy. Call to STEP prior to call of INIT.");
    sendStatus(kMalformed);
    return false;
  }
  session_->resetEvents();
  watch_->startRequest();
  for (int i = 0; i < count; ++i) {
    session_->step();
    if (!session_->runtimeOk()) {
      if (watch_->clientGone()) return abandonRequest();
      sendStatus(kRuntimeError);
      log_->write("GNXP/0.1 Proxy: GN Runtime error.");
      return false;
    }
  }
  session_->sendEvents();
  return true;
}

bool GNXP01Proxy::abandonRequest() {
  log_->write("GNXP/0.1 Proxy: The client has gone; its request was stopped.");
  return false;
}

bool GNXP01Proxy::sendStatus(std::string_view text) {
  if (!connection_->send({kProtocolLine, text, kStatusEnd})) {
    log_->write(kSendError);
    return false;
  }
  log_->write("***Sent message:");
  log_->write(text);
  return true;
}

bool GNXP01Proxy::sendResponse(std::string_view body) {
  char length[48];
  int size = std::snprintf(length, sizeof length, "Content-Length: %ld\r\n\r\n", static_cast<long>(body.size()));
  if (!connection_->send({kProtocolLine, kStepDone, std::string_view(length, static_cast<std::size_t>(size)), body})) {
    log_->write(kSendError);
    return false;
  }
  log_->write("***Response message sent");
  return true;
}
