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

EntryInflater::~EntryInflater() {
  if (open_) inflateEnd(&zlib_);
}

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
  output_ = new (std::nothrow) uint8_t[fullSize];
  // The whole output in one piece: zlib needs no window of its own then.
  uint32_t length;
  if (output_ != nullptr && Begin(source, storedSize, fullSize) && Next(output_, fullSize, &length)) return true;
  delete[] output_;
  output_ = nullptr;
  outputLength_ = 0;
  return false;
}

bool EntryInflater::Begin(const uint8_t* source, uint32_t storedSize, uint32_t fullSize) {
  if (open_) inflateEnd(&zlib_);
  open_ = false;
  ended_ = false;
  outputLength_ = 0;
  if (!Reachable(storedSize, fullSize)) return false;
  memset(&zlib_, 0, sizeof zlib_);
  if (inflateInit(&zlib_) != Z_OK) return false;
  zlib_.next_in = const_cast<uint8_t*>(source);
  zlib_.avail_in = storedSize;
  remaining_ = fullSize;
  open_ = true;
  return true;
}

bool EntryInflater::Next(uint8_t* piece, uint32_t capacity, uint32_t* length) {
  *length = 0;
  if (!open_) return ended_;
  const uint32_t room = remaining_ < capacity ? remaining_ : capacity;
  // The last piece finishes the stream: one that would grow past the full size fails there.
  const int flush = room == remaining_ ? Z_FINISH : Z_NO_FLUSH;
  zlib_.next_out = piece;
  zlib_.avail_out = room;
  int result;
  do {
    result = inflate(&zlib_, flush);
  } while (result == Z_OK && zlib_.avail_out != 0);
  *length = room - zlib_.avail_out;
  remaining_ -= *length;
  outputLength_ += *length;
  if (result == Z_STREAM_END) return Stop(true);
  // Z_OK: the piece is full and there is more to come. Anything else (a stream cut short, grown
  // past the full size, or corrupt) ends it here.
  return result == Z_OK || Stop(false);
}

bool EntryInflater::Stop(bool ok) {
  open_ = false;
  ended_ = inflateEnd(&zlib_) == Z_OK && ok;
  if (!ended_) outputLength_ = 0;
  return ended_;
}

}  // namespace setup
