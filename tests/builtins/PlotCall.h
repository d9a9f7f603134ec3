// Calling one input, output or plot built-in directly with values: builds the
// arguments, runs it with a recording log and captured standard error, and
// gives back the outcome with the message of its runtime error, if any.
#pragma once

#include "RecordingLog.h"
#include "lang/Primitive.h"
#include "lang/Value.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

inline ValuePtr num(double number) { return std::make_unique<CDoubleValue>(number); }
inline ValuePtr str(std::string text) { return std::make_unique<CStringValue>(std::move(text)); }
inline ValuePtr obj(CBaseObject* target) { return std::make_unique<CObjectValue>(target); }
inline ValuePtr vec(std::initializer_list<double> numbers) {
  return std::make_unique<CVectorValue>(numbers.begin(), static_cast<int>(numbers.size()));
}
// A vector holding the given values (taken).
template <typename... Values>
ValuePtr vecOf(Values... values) {
  auto vector = std::make_unique<CVectorValue>(0);
  (vector->append(std::move(values)), ...);
  return vector;
}
// The literal form of a value ("[1 2]", "\"a\"", "3"), or "<none>" for no value.
inline std::string literal(const CTypedValue* value) {
  if (value == nullptr) return "<none>";
  std::ostringstream out;
  value->writeLiteral(out);
  return out.str();
}

struct Outcome {
  bool ok = false;
  ValueSlot result;
  std::vector<std::string> log;  // every log message in order
  std::string errors;            // what the call wrote to standard error

  // The message framed by the runtime error report, or "" when there is none.
  std::string message() const {
    static const std::string kStart = "***Primitive RunTime error:\n\n\t\t";
    static const std::string kEnd = "\n\n***Arguments to the primitive:\n\n";
    for (const std::string& m : log) {
      std::size_t start = m.find(kStart);
      std::size_t end = m.rfind(kEnd);
      if (start != std::string::npos && end != std::string::npos)
        return m.substr(start + kStart.size(), end - start - kStart.size());
    }
    return "";
  }
  // The result as a number; fails the test when it is none.
  double number() const {
    const CDoubleValue* value = asNumber(result.get());
    EXPECT_NE(value, nullptr) << "result is " << literal(result.get());
    return value != nullptr ? value->number() : -12345.678;
  }
};

class Call {
 public:
  template <typename... Values>
  explicit Call(Values... values) {
    (arguments_.push_back(std::move(values)), ...);
  }
  // Adds an argument slot that holds no value.
  Call&& missing() && {
    arguments_.push_back(nullptr);
    return std::move(*this);
  }
  Outcome run(PrimitiveFunction function) {
    std::vector<CTypedValue*> raw;
    for (const ValuePtr& value : arguments_) raw.push_back(value.get());
    RecordingLog log;
    Outcome outcome;
    testing::internal::CaptureStderr();
    outcome.ok = function(static_cast<int>(raw.size()), outcome.result, raw.data(), nullptr, log,
                          PrimitiveContext{nullptr, nullptr}) != 0;
    outcome.errors = testing::internal::GetCapturedStderr();
    outcome.log = log.messages();
    return outcome;
  }

 private:
  std::vector<ValuePtr> arguments_;
};
