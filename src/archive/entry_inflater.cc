#include "archive/entry_inflater.h"

#include <cstring>
#include <new>

namespace setup {

namespace {
// Deflate cannot expand data by more than 1032 to 1 (a 258-byte match in 2 bits); a full size above
// that is a corrupt record, refused before its buffer is allocated.
constexpr uint64_t kMaxExpansion = 1032;
constexpr uint64_t kExpansionSlack = 1024;

bool Reachable(uint32_t storedSize, uint32_t fullSize) {
  return fullSize <= uint64_t(storedSize) * kMaxExpansion + kExpansionSlack;
}
}  // namespace

uint8_t* EntryInflater::TakeOutput() {
  uint8_t* output = output_;
  output_ = nullptr;
  return output;
}

bool EntryInflater::Inflate(const uint8_t* source, uint32_t storedSize, uint32_t fullSize) {
  delete[] output_;
  output_ = nullptr;
  outputLength_ = 0;
  if (!Reachable(storedSize, fullSize)) return false;
  uint8_t* output = new (std::nothrow) uint8_t[fullSize];
  if (output == nullptr) return false;
  if (!InflateInto(source, storedSize, fullSize, output)) {
    delete[] output;
    return false;
  }
  output_ = output;
  return true;
}

bool EntryInflater::InflateInto(const uint8_t* source, uint32_t storedSize, uint32_t fullSize, uint8_t* output) {
  outputLength_ = 0;
  if (!Reachable(storedSize, fullSize)) return false;
  memset(&zlib_, 0, sizeof zlib_);
  if (inflateInit(&zlib_) != Z_OK) return false;
  zlib_.next_in = const_cast<uint8_t*>(source);
  zlib_.avail_in = storedSize;
  zlib_.next_out = output;
  zlib_.avail_out = fullSize;
  for (;;) {
    const int result = inflate(&zlib_, Z_FINISH);
    if (result == Z_STREAM_END) break;
    // A stream cut short, or one that would grow past the full size, ends in Z_BUF_ERROR; Z_OK
    // means progress was made and there is more to do.
    if (result != Z_OK) {
      inflateEnd(&zlib_);
      return false;
    }
  }
  if (inflateEnd(&zlib_) != Z_OK) return false;
  outputLength_ = fullSize - zlib_.avail_out;
  return true;
}

}  // namespace setup
