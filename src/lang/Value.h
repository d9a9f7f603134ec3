// Values of the GNVCFL language: numbers, strings, vectors and object references,
// all derived from the root CBaseObject. Every value has exactly one owner; the
// owner holds it in a ValuePtr, and clone() is the way to keep a copy.
// Thread rule: a value is used by the thread of the net that holds it.
#pragma once

#include "base/BaseObject.h"
#include "base/FreeList.h"
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

// The limits every value keeps, so that no program can make one that exhausts
// memory or the stack. A value's size counts kValueCost for each value it
// holds at any depth (itself and an unfilled vector entry included) and one
// for each character of its strings; a vector holding vectors nests one deeper
// than the deepest of them. An operation that would pass a limit refuses and
// leaves its value as it was; what asked for it reports the runtime error.
constexpr std::size_t kValueCost = 32;
constexpr std::size_t kMaxValueSize = 32 * 1024 * 1024;
constexpr int kMaxVectorDepth = 100;
// "<what> would pass the limits of a value (...)", naming the limits.
std::string valueLimitMessage(std::string_view what);

// Abstract value. Two-operand operations test other.typeCode() and never
// convert between types (except a string adding a number); a mismatch makes
// assign/add/multiply a no-op and equals/greater/element access false.
class CTypedValue : public CBaseObject {
 public:
  // The type code is held, not computed: every typed view and two-operand
  // operation reads it, so it costs one load instead of a virtual call.
  int typeCode() const { return typeCode_; }
  // The size and vector depth the limits count (cheap: vectors keep theirs).
  virtual std::size_t size() const { return kValueCost; }
  virtual int depth() const { return 0; }

  virtual CTypedValue& assign(const CTypedValue& other) = 0;
  // False, changing nothing, when the result would pass a limit.
  virtual bool add(const CTypedValue& other) = 0;
  // The size add(other) would give.
  virtual std::size_t sizeAfterAdd(const CTypedValue&) const { return size(); }
  virtual CTypedValue& multiply(const CTypedValue& other) = 0;
  virtual bool equals(const CTypedValue& other) const = 0;
  virtual bool greater(const CTypedValue& other) const = 0;
  // Deep for vectors, shallow for object values. Caller owns the result.
  virtual ValuePtr clone() const = 0;
  // Vectors only: stores `value` itself at 0 <= index < count and takes it
  // (value becomes null); otherwise, or when the vector would pass a limit,
  // false and value stays the caller's.
  virtual bool adoptNth(int index, ValuePtr& value);
  // Vectors only: stores a clone of `value` at 0 <= index < count, with
  // adoptNth's refusals.
  virtual bool setNth(int index, const CTypedValue& value);
  // Vectors only: sets out to the element (borrowed, to be read, not changed)
  // at 0 <= index < count; out is null whenever the result is false.
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
  bool add(const CTypedValue& other) override;
  CTypedValue& multiply(const CTypedValue& other) override;
  bool equals(const CTypedValue& other) const override;
  bool greater(const CTypedValue& other) const override;
  ValuePtr clone() const override;
  std::ostream& writeText(std::ostream& out) const override;
  std::ostream& writeLiteral(std::ostream& out) const override;
  const char* typeName() const override { return "double"; }

  // Numbers stored in variables, vectors and characteristics come and go with
  // them: their blocks come from a per-thread free list.
  static void* operator new([[maybe_unused]] std::size_t size) { return Blocks::take(); }
  static void operator delete(void* block, std::size_t) { Blocks::give(block); }

 private:
  // Blocks kept per thread; the block size is checked below the class.
  using Blocks = FreeList<24, 4096>;
  double number_;
};
static_assert(sizeof(CDoubleValue) == 24, "CDoubleValue's free list holds blocks of its size");

class CStringValue final : public CTypedValue {
 public:
  // REQUIRES: the text within the limits (kMaxValueSize - kValueCost characters).
  explicit CStringValue(std::string text) : CTypedValue(kTypeString), text_(std::move(text)) {}
  const std::string& text() const { return text_; }
  std::size_t size() const override { return kValueCost + text_.size(); }

  CTypedValue& assign(const CTypedValue& other) override;
  bool add(const CTypedValue& other) override;
  std::size_t sizeAfterAdd(const CTypedValue& other) const override;
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
  // The most entries a vector can hold within kMaxValueSize.
  static constexpr int kMaxCount = static_cast<int>(kMaxValueSize / kValueCost) - 1;

  // `count` empty (null) entries, to be filled with adoptNth/setNth.
  // REQUIRES: 0 <= count <= kMaxCount (so also for the next constructor).
  explicit CVectorValue(int count);
  // New numbers from the given doubles.
  CVectorValue(const double* numbers, int count);
  // Clones of the given values. REQUIRES: the result within the limits.
  CVectorValue(const CTypedValue* const* values, int count);
  // Deep copy.
  CVectorValue(const CVectorValue& other);
  CVectorValue& operator=(const CVectorValue&) = delete;
  // Builds a vector from its text form, "nx" shorthand included; a malformed
  // "nx" text or a negative count gives an empty vector. Null when the vector
  // would pass a limit.
  static std::unique_ptr<CVectorValue> fromText(std::string_view text);

  int count() const { return static_cast<int>(elements_.size()); }
  // The element at 0 <= index < count (borrowed; may be null while unfilled).
  // Read only: a nested value changed in place would escape the vector's size.
  const CTypedValue* elementAt(int index) const { return elements_[static_cast<std::size_t>(index)].get(); }
  // Appends `value` (taken, and destroyed when refused); false when the
  // vector would pass a limit.
  bool append(ValuePtr value);
  // Whether `value` may replace entry 0 <= index < count within the limits.
  bool fitsAt(int index, const CTypedValue& value) const;
  std::size_t size() const override { return size_; }
  int depth() const override { return depth_; }

  CTypedValue& assign(const CTypedValue& other) override;
  bool add(const CTypedValue& other) override;
  std::size_t sizeAfterAdd(const CTypedValue& other) const override;
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
  // Recomputes size_ and depth_ from the entries.
  void measure();

  std::vector<ValuePtr> elements_;  // invariant: holds exactly count() entries
  // Invariants: size_ is exactly the size of this vector and its entries;
  // depth_ is at least one more than every entry's depth (exact after a copy
  // or assign, an upper bound while entries are replaced in place); both
  // within the limits.
  std::size_t size_ = kValueCost;
  int depth_ = 1;
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
  bool add(const CTypedValue& other) override;
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
