// Holder<T>: one pointer that either owns its object or borrows it, for every
// slot that may hold either: a variable slot (the caller's argument or a value
// of the call's own), a node's argument (its literal or a characteristic's live
// value), a frame entry (a net object or a file the frame opened).
// Thread rule: as the object that contains it.
#pragma once

#include <memory>
#include <utility>

template <typename T>
class Holder {
 public:
  Holder() = default;
  ~Holder() { reset(); }
  Holder(Holder&& other) noexcept
      : object_(std::exchange(other.object_, nullptr)), owned_(std::exchange(other.owned_, false)) {}
  Holder& operator=(Holder&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
      owned_ = std::exchange(other.owned_, false);
    }
    return *this;
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  // The object (owned or borrowed), or null.
  T* get() const { return object_; }
  bool owns() const { return owned_; }
  // Refers to `object` (may be null) without owning it; drops what was held.
  void borrow(T* object) {
    reset();
    object_ = object;
  }
  // Takes `object` (may be null); drops what was held.
  void adopt(std::unique_ptr<T> object) {
    reset();
    owned_ = object != nullptr;
    object_ = object.release();
  }
  // Hands the owned object to the caller and empties the holder; null (and
  // the holder emptied) when the object was borrowed.
  std::unique_ptr<T> release() {
    std::unique_ptr<T> owned(owned_ ? object_ : nullptr);
    object_ = nullptr;
    owned_ = false;
    return owned;
  }
  // Deletes the object when owned; the holder is empty afterwards.
  void reset() {
    if (owned_) delete object_;
    object_ = nullptr;
    owned_ = false;
  }

 private:
  T* object_ = nullptr;
  bool owned_ = false;
};
