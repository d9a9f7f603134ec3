// TextBuffer: a growing run of bytes whose appends compile to a bounds check
// and a copy, for text written a few bytes at a time (the events document).
// Thread rule: used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

class TextBuffer {
 public:
  TextBuffer() { grow(kFirstCapacity); }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  void append(std::string_view text) {
    if (text.size() > capacity_ - size_) grow(size_ + text.size());
    std::memcpy(bytes_.get() + size_, text.data(), text.size());
    size_ += text.size();
  }
  void append(char c) {
    if (size_ == capacity_) grow(size_ + 1);
    bytes_[size_++] = c;
  }
  // Lets `write(char* end)` put at most `most` bytes at the end, for text
  // that is worked out byte by byte; `write` returns how many it put there.
  template <typename Write>
  void appendWith(std::size_t most, Write write) {
    if (most > capacity_ - size_) grow(size_ + most);
    size_ += write(bytes_.get() + size_);
  }
  // Keeps the first `size` bytes. REQUIRES: size <= this->size().
  void truncate(std::size_t size) { size_ = size; }
  std::size_t size() const { return size_; }
  // The bytes, valid until the next append.
  std::string_view view() const { return std::string_view(bytes_.get(), size_); }

 private:
  static constexpr std::size_t kFirstCapacity = 4096;

  // Makes room for at least `needed` bytes, doubling, keeping the bytes.
  void grow(std::size_t needed);

  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
