// Values of the GNVCFL language: numbers, strings, vectors and object references,
// all derived from the root CBaseObject. Every value has exactly one owner; the
// owner holds it in a ValuePtr, and clone() is the way to keep a copy.
// Thread rule: a value is used by the thread of the net that holds it.
#pragma once

#include "base/BaseObject.h"
#include "base/Lifeline.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Type codes of the four value classes.
constexpr int kTypeDouble = 0;
constexpr int kTypeString = 1;
constexpr int kTypeVector = 2;
constexpr int kTypeObject = 3;

class CTypedValue;
using ValuePtr = std::unique_ptr<CTypedValue>;

// Abstract value. Two-operand operations test other.typeCode() and never
// convert between types (except a string adding a number); a mismatch makes
// assign/add/multiply a no-op and equals/greater/element access false.
class CTypedValue : public CBaseObject {
 public:
  // The type code is held, not computed: every typed view and two-operand
  // operation reads it, so it costs one load instead of a virtual call.
  int typeCode() const { return typeCode_; }

  virtual CTypedValue& assign(const CTypedValue& other) = 0;
  virtual CTypedValue& add(const CTypedValue& other) = 0;
  virtual CTypedValue& multiply(const CTypedValue& other) = 0;
  virtual bool equals(const CTypedValue& other) const = 0;
  virtual bool greater(const CTypedValue& other) const = 0;
  // Deep for vectors, shallow for object values. Caller owns the result.
  virtual ValuePtr clone() const = 0;
  // Vectors only: stores `value` itself at 0 <= index < count and takes it
  // (value becomes null); otherwise false and value stays the caller's.
  virtual bool adoptNth(int index, ValuePtr& value);
  // Vectors only: stores a clone of `value` at 0 <= index < count.
  virtual bool setNth(int index, const CTypedValue& value);
  // Vectors only: sets out to the element (borrowed) at 0 <= index < count;
  // out is null whenever the result is false.
  virtual bool getNth(int index, CTypedValue*& out);
  virtual std::ostream& writeText(std::ostream& out) const = 0;
  virtual std::ostream& writeLiteral(std::ostream& out) const = 0;
  virtual const char* typeName() const = 0;

 protected:
  explicit CTypedValue(int typeCode) : typeCode_(typeCode) {}
  CTypedValue(const CTypedValue&) = default;

 private:
  int typeCode_;
};

class CDoubleValue final : public CTypedValue {
 public:
  explicit CDoubleValue(double number = 0.0) : CTypedValue(kTypeDouble), number_(number) {}
  double number() const { return number_; }
  void setNumber(double number) { number_ = number; }

  CTypedValue& assign(const CTypedValue& other) override;
  CTypedValue& add(const CTypedValue& other) override;
  CTypedValue& multiply(const CTypedValue& other) override;
  bool equals(const CTypedValue& other) const override;
  bool greater(const CTypedValue& other) const override;
  ValuePtr clone() const override;
  std::ostream& writeText(std::ostream& out) const override;
  std::ostream& writeLiteral(std::ostream& out) const override;
  const char* typeName() const override { return "double"; }

  // Numbers are made and dropped on every evaluation step: they come from a
  // per-thread free list instead of the general heap.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size);

 private:
  double number_;
};

class CStringValue final : public CTypedValue {
 public:
  explicit CStringValue(std::string text) : CTypedValue(kTypeString), text_(std::move(text)) {}
  const std::string& text() const { return text_; }

  CTypedValue& assign(const CTypedValue& other) override;
  CTypedValue& add(const CTypedValue& other) override;
  CTypedValue& multiply(const CTypedValue& other) override;
  bool equals(const CTypedValue& other) const override;
  bool greater(const CTypedValue& other) const override;
  ValuePtr clone() const override;
  std::ostream& writeText(std::ostream& out) const override;
  std::ostream& writeLiteral(std::ostream& out) const override;
  const char* typeName() const override { return "string"; }

 private:
  std::string text_;
};

class CVectorValue final : public CTypedValue {
 public:
  // `count` empty (null) entries, to be filled with adoptNth/setNth.
  explicit CVectorValue(int count);
  // New numbers from the given doubles.
  CVectorValue(const double* numbers, int count);
  // Clones of the given values.
  CVectorValue(const CTypedValue* const* values, int count);
  // Deep copy.
  CVectorValue(const CVectorValue& other);
  CVectorValue& operator=(const CVectorValue&) = delete;
  // Builds a vector from its text form, "nx" shorthand included; a malformed
  // "nx" text, a negative count or one above kMaxShorthandCount gives an empty vector.
  static std::unique_ptr<CVectorValue> fromText(std::string_view text);
  static constexpr int kMaxShorthandCount = 16 * 1024 * 1024;

  int count() const { return static_cast<int>(elements_.size()); }
  // The element at 0 <= index < count (borrowed; may be null while unfilled).
  CTypedValue* elementAt(int index) const { return elements_[static_cast<std::size_t>(index)].get(); }
  // Appends `value` (taken). Used by built-ins that build vectors.
  void append(ValuePtr value) { elements_.push_back(std::move(value)); }

  CTypedValue& assign(const CTypedValue& other) override;
  CTypedValue& add(const CTypedValue& other) override;
  CTypedValue& multiply(const CTypedValue& other) override;
  bool equals(const CTypedValue& other) const override;
  bool greater(const CTypedValue& other) const override;
  ValuePtr clone() const override;
  bool adoptNth(int index, ValuePtr& value) override;
  bool setNth(int index, const CTypedValue& value) override;
  bool getNth(int index, CTypedValue*& out) override;
  std::ostream& writeText(std::ostream& out) const override;
  std::ostream& writeLiteral(std::ostream& out) const override;
  const char* typeName() const override { return "vector"; }

 private:
  std::vector<ValuePtr> elements_;  // invariant: holds exactly count() entries
};

// A reference to a net object or file handle; never owns its target. A target
// that can be destroyed first (a token leaving the net) is reached through its
// lifeline, so a reference to a departed token finds no target, never freed memory.
class CObjectValue final : public CTypedValue {
 public:
  explicit CObjectValue(CBaseObject* target = nullptr) : CTypedValue(kTypeObject) { setTarget(target); }
  // The target; null when there is none, or when it has been destroyed (departed tells).
  CBaseObject* target() const { return lifeline_ ? lifeline_->object() : target_; }
  void setTarget(CBaseObject* target);
  // The lifeline of the destroyed target this value names, or null.
  const Lifeline* departed() const;

  CTypedValue& assign(const CTypedValue& other) override;
  CTypedValue& add(const CTypedValue& other) override;
  CTypedValue& multiply(const CTypedValue& other) override;
  // Same target: the same object in the same life (a new token made where a
  // departed one was is another target).
  bool equals(const CTypedValue& other) const override;
  bool greater(const CTypedValue& other) const override;
  ValuePtr clone() const override;
  std::ostream& writeText(std::ostream& out) const override;
  std::ostream& writeLiteral(std::ostream& out) const override;
  const char* typeName() const override { return "object"; }

 private:
  CObjectValue(const CObjectValue& other) = default;

  CBaseObject* target_ = nullptr;  // as given: what writeText prints; never read through once departed
  Lifeline::Ref lifeline_;         // the target's, when it has one
};

// An open file, reached from GNVCFL through a CObjectValue. Closes the file
// when destroyed; the file may be null when it could not be opened.
class CFilePtr final : public CBaseObject {
 public:
  explicit CFilePtr(std::FILE* file) : file_(file) {}
  ~CFilePtr() override;
  CFilePtr(const CFilePtr&) = delete;
  CFilePtr& operator=(const CFilePtr&) = delete;
  int kind() const override { return kKindFile; }
  std::FILE* file() const { return file_; }

 private:
  std::FILE* file_;
};

// The writeText form of a value as a new string.
std::string textOf(const CTypedValue& value);
// Appends the writeText form of a value to `out` (no stream involved).
void appendText(std::string& out, const CTypedValue& value);

// Typed views of a possibly null value: null when the value is not of that type.
inline CDoubleValue* asNumber(CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeDouble ? static_cast<CDoubleValue*>(value) : nullptr;
}
inline const CDoubleValue* asNumber(const CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeDouble ? static_cast<const CDoubleValue*>(value) : nullptr;
}
inline CStringValue* asString(CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeString ? static_cast<CStringValue*>(value) : nullptr;
}
inline const CStringValue* asString(const CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeString ? static_cast<const CStringValue*>(value) : nullptr;
}
inline CVectorValue* asVector(CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeVector ? static_cast<CVectorValue*>(value) : nullptr;
}
inline const CVectorValue* asVector(const CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeVector ? static_cast<const CVectorValue*>(value) : nullptr;
}
inline CObjectValue* asObject(CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeObject ? static_cast<CObjectValue*>(value) : nullptr;
}
inline const CObjectValue* asObject(const CTypedValue* value) {
  return value != nullptr && value->typeCode() == kTypeObject ? static_cast<const CObjectValue*>(value) : nullptr;
}
// The target of an object value when its kind is `kind`, else null.
CBaseObject* objectOfKind(const CTypedValue* value, int kind);
// The lifeline of the departed token an object value names, else null.
const Lifeline* departedTarget(const CTypedValue* value);
// The runtime error text for using a reference to the departed token of `lifeline`.
std::string departedMessage(const Lifeline& lifeline);

// Numbers used as indexes, counts or ids are truncated toward zero to a signed
// 32-bit integer; NaN and numbers outside the range give INT32_MIN, as the
// processor's own conversion does, instead of undefined behaviour.
inline std::int32_t truncateToInt(double number) {
  if (!(number > -2147483649.0 && number < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(number);
}
