// The operations of the four value classes: assignment, arithmetic,
// comparison, cloning and element access, by the behaviour table of values.
#include "lang/Value.h"

#include <algorithm>
#include <cassert>

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

CTypedValue& CDoubleValue::add(const CTypedValue& other) {
  if (const CDoubleValue* number = asNumber(&other)) number_ += number->number_;
  return *this;
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

CTypedValue& CStringValue::add(const CTypedValue& other) {
  if (const CStringValue* text = asString(&other)) {
    text_ += text->text_;
  } else if (const CDoubleValue* number = asNumber(&other)) {
    text_ += std::to_string(truncateToInt(number->number()));
  }
  return *this;
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

CVectorValue::CVectorValue(int count) : CTypedValue(kTypeVector), elements_(static_cast<std::size_t>(std::max(count, 0))) {}

CVectorValue::CVectorValue(const double* numbers, int count) : CTypedValue(kTypeVector) {
  elements_.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) elements_.push_back(std::make_unique<CDoubleValue>(numbers[i]));
}

CVectorValue::CVectorValue(const CTypedValue* const* values, int count) : CTypedValue(kTypeVector) {
  elements_.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) elements_.push_back(values[i] != nullptr ? values[i]->clone() : nullptr);
}

CVectorValue::CVectorValue(const CVectorValue& other) : CTypedValue(other) {
  elements_.reserve(other.elements_.size());
  for (const ValuePtr& element : other.elements_) elements_.push_back(element ? element->clone() : nullptr);
}

CTypedValue& CVectorValue::assign(const CTypedValue& other) {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr || vector == this) return *this;
  std::vector<ValuePtr> copies;
  copies.reserve(vector->elements_.size());
  for (const ValuePtr& element : vector->elements_) copies.push_back(element ? element->clone() : nullptr);
  elements_ = std::move(copies);
  return *this;
}

CTypedValue& CVectorValue::add(const CTypedValue& other) {
  const CVectorValue* vector = asVector(&other);
  if (vector == nullptr) return *this;
  if (vector == this) {
    // Each element is added to itself: add from a copy so that nested vectors
    // do not read what they are changing.
    CVectorValue copy(*this);
    return add(copy);
  }
  std::size_t common = std::min(elements_.size(), vector->elements_.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (elements_[i] && vector->elements_[i]) elements_[i]->add(*vector->elements_[i]);
  }
  return *this;
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
  if (index < 0 || index >= count()) return false;
  elements_[static_cast<std::size_t>(index)] = std::move(value);
  return true;
}

bool CVectorValue::setNth(int index, const CTypedValue& value) {
  if (index < 0 || index >= count()) return false;
  elements_[static_cast<std::size_t>(index)] = value.clone();
  return true;
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

CTypedValue& CObjectValue::add(const CTypedValue&) { return *this; }
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
