// The operations of the four value classes: assignment, arithmetic,
// comparison, cloning and element access, by the behaviour table of values.
#include "lang/Value.h"

#include <algorithm>

namespace {

bool withinLimits(std::size_t size, int depth) { return size <= kMaxValueSize && depth <= kMaxVectorDepth; }

// What a vector entry counts: an unfilled one as a value.
std::size_t entrySize(const ValuePtr& entry) { return entry ? entry->size() : kValueCost; }
int entryDepth(const ValuePtr& entry) { return entry ? entry->depth() : 0; }

}  // namespace

std::string valueLimitMessage(std::string_view what) {
  return std::string(what) + " would pass the limits of a value (a size of " + std::to_string(kMaxValueSize) +
         ", counting " + std::to_string(kValueCost) + " for each value and 1 for each character; vectors nested " +
         std::to_string(kMaxVectorDepth) + " deep).";
}

bool CTypedValue::adoptNth(int, ValuePtr&) { return false; }
bool CTypedValue::setNth(int, const CTypedValue&) { return false; }
bool CTypedValue::getNth(int, CTypedValue*& out) {
  out = nullptr;
  return false;
}

// ---- CDoubleValue -------------------------------------------------------

CTypedValue& CDoubleValue::assign(const CTypedValue& other) {
  if (const CDoubleValue* number = asNumber(&other)) number_ = number->number_;
  return *this;
}

bool CDoubleValue::add(const CTypedValue& other) {
  if (const CDoubleValue* number = asNumber(&other)) number_ += number->number_;
  return true;
}

CTypedValue& CDoubleValue::multiply(const CTypedValue& other) {
  if (const CDoubleValue* number = asNumber(&other)) number_ *= number->number_;
  return *this;
}

bool CDoubleValue::equals(const CTypedValue& other) const {
  const CDoubleValue* number = asNumber(&other);
  return number != nullptr && number_ == number->number_;
}

bool CDoubleValue::greater(const CTypedValue& other) const {
  const CDoubleValue* number = asNumber(&other);
  return number != nullptr && number_ > number->number_;
}

ValuePtr CDoubleValue::clone() const { return std::make_unique<CDoubleValue>(number_); }

// ---- CStringValue -------------------------------------------------------

CTypedValue& CStringValue::assign(const CTypedValue& other) {
  if (const CStringValue* text = asString(&other); text != nullptr && text != this) text_ = text->text_;
  return *this;
}

namespace {

// The text a string add appends: a string's, or a number's truncated value.
std::string appendedText(const CTypedValue& other) {
  if (const CStringValue* text = asString(&other)) return text->text();
  if (const CDoubleValue* number = asNumber(&other)) return std::to_string(truncateToInt(number->number()));
  return {};
}

}  // namespace

bool CStringValue::add(const CTypedValue& other) {
  if (sizeAfterAdd(other) > kMaxValueSize) return false;
  text_ += appendedText(other);
  return true;
}

std::size_t CStringValue::sizeAfterAdd(const CTypedValue& other) const {
  if (const CStringValue* text = asString(&other)) return size() + text->text_.size();
  return size() + appendedText(other).size();
}

CTypedValue& CStringValue::multiply(const CTypedValue&) { return *this; }

bool CStringValue::equals(const CTypedValue& other) const {
  const CStringValue* text = asString(&other);
  return text != nullptr && text_ == text->text_;
}

// std::string compares through char_traits<char>, which orders bytes as
// unsigned values and makes a text that runs out first the smaller.
bool CStringValue::greater(const CTypedValue& other) const {
  const CStringValue* text = asString(&other);
  return text != nullptr && text_.compare(text->text_) > 0;
}

ValuePtr CStringValue::clone() const { return std::make_unique<CStringValue>(text_); }

// ---- CVectorValue -------------------------------------------------------

CVectorValue::CVectorValue(int count)
    : CTypedValue(kTypeVector), elements_(static_cast<std::size_t>(std::max(count, 0))) {
  measure();
}

CVectorValue::CVectorValue(const double* numbers, int count) : CTypedValue(kTypeVector) {
  elements_.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) elements_.push_back(std::make_unique<CDoubleValue>(numbers[i]));
  measure();
}

CVectorValue::CVectorValue(const CTypedValue* const* values, int count) : CTypedValue(kTypeVector) {
  elements_.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) elements_.push_back(values[i] != nullptr ? values[i]->clone() : nullptr);
  measure();
}

CVectorValue::CVectorValue(const CVectorValue& other) : CTypedValue(other) {
  elements_.reserve(other.elements_.size());
  for (const ValuePtr& element : other.elements_) elements_.push_back(element ? element->clone() : nullptr);
  measure();
}

void CVectorValue::measure() {
  size_ = kValueCost;
  depth_ = 1;
  for (const ValuePtr& element : elements_) {
    size_ += entrySize(element);
    depth_ = std::max(depth_, 1 + entryDepth(element));
  }
}

bool CVectorValue::append(ValuePtr value) {
  const std::size_t size = size_ + entrySize(value);
  const int depth = std::max(depth_, 1 + entryDepth(value));
  if (!withinLimits(size, depth)) return false;
  elements_.push_back(std::move(value));
  size_ = size;
  depth_ = depth;
  return true;
}

bool CVectorValue::fitsAt(int index, const CTypedValue& value) const {
  const std::size_t size = size_ - entrySize(elements_[static_cast<std::size_t>(index)]) + value.size();
  return withinLimits(size, std::max(depth_, 1 + value.depth()));
}

CTypedValue& CVectorValue::assign(const CTypedValue& other) {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr || vector == this) return *this;
  std::vector<ValuePtr> copies;
  copies.reserve(vector->elements_.size());
  for (const ValuePtr& element : vector->elements_) copies.push_back(element ? element->clone() : nullptr);
  elements_ = std::move(copies);
  measure();
  return *this;
}

// The size is known before any element changes, so a refused add changes nothing.
bool CVectorValue::add(const CTypedValue& other) {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr) return true;
  if (vector == this) {
    // Each element is added to itself: add from a copy so that nested vectors
    // do not read what they are changing.
    CVectorValue copy(*this);
    return add(copy);
  }
  const std::size_t size = sizeAfterAdd(other);
  if (size > kMaxValueSize) return false;
  std::size_t common = std::min(elements_.size(), vector->elements_.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (elements_[i] && vector->elements_[i]) elements_[i]->add(*vector->elements_[i]);
  }
  size_ = size;
  return true;
}

std::size_t CVectorValue::sizeAfterAdd(const CTypedValue& other) const {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr) return size_;
  std::size_t size = kValueCost;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const bool added = i < vector->elements_.size() && elements_[i] && vector->elements_[i];
    size += added ? elements_[i]->sizeAfterAdd(*vector->elements_[i]) : entrySize(elements_[i]);
  }
  return size;
}

CTypedValue& CVectorValue::multiply(const CTypedValue&) { return *this; }

bool CVectorValue::equals(const CTypedValue& other) const {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr || vector->elements_.size() != elements_.size()) return false;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const ValuePtr& mine = elements_[i];
    const ValuePtr& theirs = vector->elements_[i];
    if (!mine || !theirs || !mine->equals(*theirs)) return false;
  }
  return true;
}

bool CVectorValue::greater(const CTypedValue& other) const {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr || vector->elements_.size() != elements_.size()) return false;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const ValuePtr& mine = elements_[i];
    const ValuePtr& theirs = vector->elements_[i];
    if (!mine || !theirs || !mine->greater(*theirs)) return false;
  }
  return true;
}

ValuePtr CVectorValue::clone() const { return std::make_unique<CVectorValue>(*this); }

bool CVectorValue::adoptNth(int index, ValuePtr& value) {
  if (index < 0 || index >= count() || (value && !fitsAt(index, *value))) return false;
  ValuePtr& entry = elements_[static_cast<std::size_t>(index)];
  size_ = size_ - entrySize(entry) + entrySize(value);
  depth_ = std::max(depth_, 1 + entryDepth(value));
  entry = std::move(value);
  return true;
}

bool CVectorValue::setNth(int index, const CTypedValue& value) {
  if (index < 0 || index >= count() || !fitsAt(index, value)) return false;
  ValuePtr copy = value.clone();
  return adoptNth(index, copy);
}

bool CVectorValue::getNth(int index, CTypedValue*& out) {
  out = nullptr;
  if (index < 0 || index >= count()) return false;
  out = elements_[static_cast<std::size_t>(index)].get();
  return true;
}

// ---- CObjectValue -------------------------------------------------------

void CObjectValue::setTarget(CBaseObject* target) {
  target_ = target;
  lifeline_ = Lifeline::Ref(target != nullptr ? target->lifeline() : nullptr);
}

const Lifeline* CObjectValue::departed() const {
  return lifeline_ && lifeline_->object() == nullptr ? lifeline_.get() : nullptr;
}

// Copies the reference itself (lifeline included): the target may be gone.
CTypedValue& CObjectValue::assign(const CTypedValue& other) {
  const CObjectValue* object = asObject(&other);
  target_ = object != nullptr ? object->target_ : nullptr;
  lifeline_ = object != nullptr ? object->lifeline_ : Lifeline::Ref();
  return *this;
}

bool CObjectValue::add(const CTypedValue&) { return true; }
CTypedValue& CObjectValue::multiply(const CTypedValue&) { return *this; }

bool CObjectValue::equals(const CTypedValue& other) const {
  const CObjectValue* object = asObject(&other);
  return object != nullptr && object->target_ == target_ && object->lifeline_.get() == lifeline_.get();
}

bool CObjectValue::greater(const CTypedValue&) const { return false; }

ValuePtr CObjectValue::clone() const { return ValuePtr(new CObjectValue(*this)); }

// ---- CFilePtr -----------------------------------------------------------

CFilePtr::~CFilePtr() {
  if (file_ != nullptr) std::fclose(file_);
}

// ---- typed views --------------------------------------------------------

const Lifeline* departedTarget(const CTypedValue* value) {
  const CObjectValue* object = asObject(value);
  return object != nullptr ? object->departed() : nullptr;
}

std::string departedMessage(const Lifeline& lifeline) {
  return "The token " + (lifeline.name().empty() ? std::string("NotFound") : lifeline.name()) +
         " has left the net: a reference to it can no longer be used.";
}

CBaseObject* objectOfKind(const CTypedValue* value, int kind) {
  const CObjectValue* object = asObject(value);
  if (object == nullptr || object->target() == nullptr) return nullptr;
  return object->target()->kind() == kind ? object->target() : nullptr;
}
