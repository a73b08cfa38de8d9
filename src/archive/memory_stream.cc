#include "archive/memory_stream.h"

#include <cstring>
#include <new>

namespace setup {

MemoryStream::~MemoryStream() { Release(); }

bool MemoryStream::Release() {
  delete[] buffer_;
  buffer_ = nullptr;
  size_ = 0;
  capacity_ = 0;
  position_ = 0;
  return true;
}

bool MemoryStream::Reserve(uint32_t capacity) {
  size_ = 0;
  position_ = 0;
  if (buffer_ != nullptr && capacity_ >= capacity) return true;
  Release();
  buffer_ = new (std::nothrow) uint8_t[capacity != 0 ? capacity : 1];
  if (buffer_ == nullptr) return false;
  capacity_ = capacity;
  return true;
}

void MemoryStream::Adopt(uint8_t* buffer, uint32_t size) {
  if (buffer != buffer_) delete[] buffer_;
  buffer_ = buffer;
  size_ = size;
  capacity_ = size;
  position_ = 0;
}

uint32_t MemoryStream::Read(void* destination, uint32_t count) {
  // Compared as a remainder so that a huge count cannot wrap position + count.
  if (position_ >= size_) return 0;
  uint32_t n = size_ - position_;
  if (count < n) n = count;
  memcpy(destination, buffer_ + position_, n);
  position_ += n;
  return n;
}

uint8_t* MemoryStream::CurrentData() const {
  if (buffer_ == nullptr || position_ > size_) return nullptr;
  return buffer_ + position_;
}

int64_t MemoryStream::Seek(int32_t offset, int origin) {
  uint32_t moved;
  switch (origin) {
    case 0: moved = uint32_t(offset); break;
    case 1: moved = position_ + uint32_t(offset); break;  // wraps, so negative offsets move back
    case 2: moved = size_ - uint32_t(offset); break;      // counts back from the end
    default: return -1;
  }
  position_ = moved;
  return moved < size_ ? int64_t(moved) : -1;
}

char* MemoryStream::ReadLine(char* destination, uint32_t capacity) {
  if (position_ >= size_ || capacity == 0) return nullptr;
  const uint64_t limit = uint64_t(position_) + capacity - 1;
  for (;;) {
    if (position_ >= limit) return nullptr;
    const uint8_t b = buffer_[position_];
    if (b == '\r') {
      *destination = '\0';
      position_ += 2;  // the byte after a CR is taken to be its LF
      return destination;
    }
    if (b == '\n') {
      *destination = '\0';
      position_ += 1;
      return destination;
    }
    *destination++ = char(b);
    if (++position_ >= size_) return nullptr;
  }
}

}  // namespace setup
