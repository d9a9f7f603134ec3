// TextBuffer: growth by doubling.
#include "server/TextBuffer.h"

#include <algorithm>

void TextBuffer::grow(std::size_t needed) {
  std::size_t capacity = std::max(needed, capacity_ * 2);
  auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = capacity;
}
