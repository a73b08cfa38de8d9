// A NUL-terminated text on the heap that reports a shortage of memory instead of throwing: the
// Windows program carries no C++ library containers, and stays small for it.
#pragma once

#include <cstdlib>
#include <cstring>

namespace setup {

template <typename Char>
class TextBuffer {
 public:
  TextBuffer() = default;
  ~TextBuffer() { free(data_); }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  const Char* c_str() const { return data_ != nullptr ? data_ : &kEmpty; }
  Char* data() { return data_ != nullptr ? data_ : &empty_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Char back() const { return size_ > 0 ? data_[size_ - 1] : Char(); }

  // size characters, those added zero; false, with the text as it was, when memory is short.
  bool Resize(size_t size) {
    if (size >= capacity_) {
      if (size + 1 > ~size_t(0) / sizeof(Char)) return false;
      Char* grown = static_cast<Char*>(realloc(data_, (size + 1) * sizeof(Char)));
      if (grown == nullptr) return false;
      data_ = grown;
      capacity_ = size + 1;
    }
    if (size > size_) memset(data_ + size_, 0, (size - size_) * sizeof(Char));
    size_ = size;
    data_[size_] = Char();
    return true;
  }

  bool Append(const Char* text, size_t length) {
    const size_t at = size_;
    if (length > ~size_t(0) - at - 1 || !Resize(at + length)) return false;
    memcpy(data_ + at, text, length * sizeof(Char));
    return true;
  }

  void Clear() {
    size_ = 0;
    if (data_ != nullptr) data_[0] = Char();
  }

 private:
  static constexpr Char kEmpty = Char();
  Char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;  // characters, the NUL's place included
  Char empty_ = Char();  // what data() gives before anything is stored; a NUL
};

}  // namespace setup
