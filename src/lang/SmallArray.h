// SmallArray<T, N>: a fixed number of default-constructed elements, kept
// inside the object when there are at most N (evaluation's common case: no
// heap at all), else on the heap. Only the elements asked for are built.
// Thread rule: as the object that contains it.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

template <typename T, int N>
class SmallArray {
 public:
  // REQUIRES: size >= 0.
  explicit SmallArray(int size) : size_(size) {
    elements_ = size <= N ? reinterpret_cast<T*>(inline_)
                          : static_cast<T*>(::operator new(sizeof(T) * static_cast<std::size_t>(size)));
    std::uninitialized_default_construct_n(elements_, size);
  }
  ~SmallArray() {
    std::destroy_n(elements_, size_);
    if (size_ > N) ::operator delete(elements_);
  }
  SmallArray(const SmallArray&) = delete;
  SmallArray& operator=(const SmallArray&) = delete;

  T& operator[](int i) { return elements_[i]; }
  const T& operator[](int i) const { return elements_[i]; }
  T* data() { return elements_; }
  const T* data() const { return elements_; }
  int size() const { return size_; }

 private:
  int size_;
  T* elements_;
  alignas(T) unsigned char inline_[N * sizeof(T)];
};
