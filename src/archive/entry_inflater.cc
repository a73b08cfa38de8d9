#include "archive/entry_inflater.h"

#include <cstring>
#include <new>

namespace setup {

namespace {
// Deflate cannot expand data by more than 1032 to 1 (a 258-byte match in 2 bits); a full size above
// that is a corrupt record, refused before its buffer is allocated.
constexpr uint64_t kMaxExpansion = 1032;
constexpr uint64_t kExpansionSlack = 1024;
}  // namespace

uint8_t* EntryInflater::TakeOutput() {
  uint8_t* output = output_;
  output_ = nullptr;
  return output;
}

bool EntryInflater::Fail() {
  inflateEnd(&zlib_);
  delete[] output_;
  output_ = nullptr;
  outputLength_ = 0;
  return false;
}

bool EntryInflater::AppendWindow(uint32_t length) {
  if (length > outputCapacity_ - outputLength_) return false;  // more data than the full size
  memcpy(output_ + outputLength_, outputWindow_, length);
  outputLength_ += length;
  return true;
}

bool EntryInflater::Inflate(const uint8_t* source, uint32_t storedSize, uint32_t fullSize) {
  delete[] output_;
  output_ = nullptr;
  outputLength_ = 0;
  if (fullSize > uint64_t(storedSize) * kMaxExpansion + kExpansionSlack) return false;
  output_ = new (std::nothrow) uint8_t[fullSize];
  if (output_ == nullptr) return false;
  outputCapacity_ = fullSize;
  source_ = source;
  sourceLength_ = storedSize;
  consumed_ = 0;

  memset(&zlib_, 0, sizeof zlib_);
  if (inflateInit(&zlib_) != Z_OK) {
    delete[] output_;
    output_ = nullptr;
    return false;
  }
  zlib_.next_out = outputWindow_;
  zlib_.avail_out = kChunk;
  for (;;) {
    if (zlib_.avail_in == 0) {
      const uint32_t left = sourceLength_ - consumed_;
      const uint32_t n = left > kChunk ? kChunk : left;
      if (n > 0) memcpy(inputChunk_, source_ + consumed_, n);
      consumed_ += n;
      zlib_.next_in = inputChunk_;
      zlib_.avail_in = n;
    }
    const int result = inflate(&zlib_, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      if (!AppendWindow(kChunk - zlib_.avail_out)) return Fail();
      if (inflateEnd(&zlib_) != Z_OK) {
        delete[] output_;
        output_ = nullptr;
        outputLength_ = 0;
        return false;
      }
      return true;
    }
    // Also ends a stream cut short: once the source is used up, inflate reports Z_BUF_ERROR.
    if (result != Z_OK) return Fail();
    if (zlib_.avail_out == 0) {
      if (!AppendWindow(kChunk)) return Fail();
      zlib_.next_out = outputWindow_;
      zlib_.avail_out = kChunk;
    }
  }
}

}  // namespace setup
