// CSourceStream: GNVCFL source held whole in memory, read byte by byte with
// peeking, line skipping and saved positions. Files are read whole without
// newline translation, so carriage returns reach the reader as whitespace.
// Thread rule: used by one thread at a time (the one loading its net).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CSourceStream {
 public:
  // Why the stream stopped delivering tokens before its end.
  enum class Failure { None, TokenTooLong };
  // What peek and get give at the end of the text or after a failure.
  static constexpr int kEnd = -1;

  explicit CSourceStream(std::string text) : text_(std::move(text)) {}
  CSourceStream(const CSourceStream&) = delete;
  CSourceStream& operator=(const CSourceStream&) = delete;

  // The next byte (0-255) without consuming it, or kEnd.
  int peek() const { return isReadable() ? static_cast<unsigned char>(text_[position_]) : kEnd; }
  // The next byte (0-255), consumed, or kEnd.
  int get() { return isReadable() ? static_cast<unsigned char>(text_[position_++]) : kEnd; }
  // Consumes the rest of the line, its line feed included.
  void skipLine();

  // True when every byte has been read.
  bool atEnd() const { return position_ >= text_.size(); }
  // Neither at the end nor failed: another byte can be read.
  bool good() const { return isReadable(); }
  bool failed() const { return failure_ != Failure::None; }
  Failure failure() const { return failure_; }
  // Stops the stream for good: every later read gives kEnd.
  void fail(Failure failure) { failure_ = failure; }

  std::size_t position() const { return position_; }
  // REQUIRES: a position given earlier by position().
  void setPosition(std::size_t position) { position_ = position; }

  // Set once the stream's failure has been reported, so it is reported once.
  bool failureReported() const { return failureReported_; }
  void setFailureReported() { failureReported_ = true; }

 private:
  bool isReadable() const { return failure_ == Failure::None && position_ < text_.size(); }

  std::string text_;
  std::size_t position_ = 0;
  Failure failure_ = Failure::None;
  bool failureReported_ = false;
};
