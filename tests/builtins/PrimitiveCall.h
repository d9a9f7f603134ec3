// Test support for calling one built-in directly: builds the arguments, runs
// the built-in with a recording log and captured standard error, and gives
// back the outcome with the message of its runtime error report, if any.
#pragma once

#include "RecordingLog.h"
#include "lang/Primitive.h"
#include "lang/Value.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

inline ValuePtr num(double number) { return std::make_unique<CDoubleValue>(number); }
inline ValuePtr str(std::string text) { return std::make_unique<CStringValue>(std::move(text)); }
inline ValuePtr obj(CBaseObject* target) { return std::make_unique<CObjectValue>(target); }

// The literal form of a value ("[1 2]", "\"a\"", "3"), or "<none>" for no value.
inline std::string literal(const CTypedValue* value) {
  if (value == nullptr) return "<none>";
  std::ostringstream out;
  value->writeLiteral(out);
  return out.str();
}

// The text the runtime error report frames in `log`, or "" when it holds none.
inline std::string reportedMessage(const std::string& log) {
  static const std::string kStart = "***Primitive RunTime error:\n\n\t\t";
  const std::size_t start = log.find(kStart);
  const std::size_t end = log.find("\n\n***Arguments to the primitive:");
  if (start == std::string::npos || end == std::string::npos) return "";
  return log.substr(start + kStart.size(), end - start - kStart.size());
}

struct Outcome {
  bool ok = false;
  ValueSlot result;
  std::string log;     // every log message, each followed by a line feed
  std::string errors;  // standard error
  std::string message() const { return reportedMessage(log); }
};

// Runs `function` with the given arguments (entries may be null: no value).
template <typename... Values>
Outcome callPrimitive(PrimitiveFunction function, CCharacteristic* current, PrimitiveContext context,
                      Values... values) {
  ValuePtr owned[] = {std::move(values)..., nullptr};
  std::vector<CTypedValue*> argv;
  for (std::size_t i = 0; i < sizeof...(Values); ++i) argv.push_back(owned[i].get());
  RecordingLog log;
  Outcome outcome;
  testing::internal::CaptureStderr();
  outcome.ok = function(static_cast<int>(argv.size()), outcome.result, argv.data(), current, log, context) != 0;
  outcome.errors = testing::internal::GetCapturedStderr();
  outcome.log = log.text();
  return outcome;
}
