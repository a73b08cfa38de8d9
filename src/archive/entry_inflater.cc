#include "archive/entry_inflater.h"

#include <zlib.h>

#include <cstring>
#include <new>

#include "base/byte_order.h"

namespace setup {

namespace {
// Deflate cannot expand data by more than 1032 to 1 (a 258-byte match in 2 bits); a full size above
// that is a corrupt record, refused before its buffer is allocated.
constexpr uint64_t kMaxExpansion = 1032;
constexpr uint64_t kExpansionSlack = 1024;
constexpr int kWindowBits = 15;  // the largest window a zlib stream can ask for

bool Reachable(uint32_t storedSize, uint32_t fullSize) {
  return fullSize <= uint64_t(storedSize) * kMaxExpansion + kExpansionSlack;
}

// Deflate data, a window the callback inflater can hold, and no preset dictionary.
bool SoundHeader(const uint8_t* source, uint32_t storedSize) {
  if (storedSize < 2) return false;
  const unsigned method = source[0], flags = source[1];
  return (method & 0x0F) == Z_DEFLATED && (method >> 4) <= kWindowBits - 8 &&
         (method << 8 | flags) % 31 == 0 && (flags & 0x20) == 0;
}

struct Pieces {
  uint8_t* piece;
  uint32_t capacity;
  uint32_t filled;
  uint32_t remaining;  // of the full size
  uLong adler;
  EntryInflater::Take take;
  void* context;
};

// Every byte of the stream is given at once; asking for more means it was cut short.
unsigned NoMoreInput(void*, z_const unsigned char**) { return 0; }

// The window's bytes, copied into the piece; nonzero stops the inflater.
int TakeWindow(void* description, unsigned char* bytes, unsigned length) {
  Pieces& pieces = *static_cast<Pieces*>(description);
  if (length > pieces.remaining) return 1;  // grown past the full size
  pieces.remaining -= length;
  pieces.adler = adler32(pieces.adler, bytes, length);
  if (pieces.piece == nullptr) return 0;
  while (length > 0) {
    uint32_t part = pieces.capacity - pieces.filled;
    if (part > length) part = length;
    memcpy(pieces.piece + pieces.filled, bytes, part);
    pieces.filled += part;
    bytes += part;
    length -= part;
    if (pieces.filled == pieces.capacity) {
      if (!pieces.take(pieces.context, pieces.piece, pieces.filled)) return 1;
      pieces.filled = 0;
    }
  }
  return 0;
}

bool TakeNothing(void*, const uint8_t*, uint32_t) { return true; }
}  // namespace

EntryInflater::~EntryInflater() { delete[] output_; }

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
  // The whole output is one piece, which nothing needs to take.
  if (output_ != nullptr &&
      InflateInPieces(source, storedSize, fullSize, output_, fullSize, TakeNothing, nullptr)) {
    return true;
  }
  delete[] output_;
  output_ = nullptr;
  return false;
}

bool EntryInflater::InflateInPieces(const uint8_t* source, uint32_t storedSize, uint32_t fullSize,
                                    uint8_t* piece, uint32_t capacity, Take take, void* context) {
  outputLength_ = 0;
  if (!Reachable(storedSize, fullSize) || !SoundHeader(source, storedSize) ||
      (piece != nullptr && capacity == 0 && fullSize > 0)) {
    return false;
  }
  uint8_t* window = new (std::nothrow) uint8_t[1u << kWindowBits];
  z_stream zlib;
  memset(&zlib, 0, sizeof zlib);
  if (window == nullptr || inflateBackInit(&zlib, kWindowBits, window) != Z_OK) {
    delete[] window;
    return false;
  }
  Pieces pieces = {piece, capacity, 0, fullSize, adler32(0, Z_NULL, 0), take, context};
  zlib.next_in = const_cast<uint8_t*>(source + 2);
  zlib.avail_in = storedSize - 2;
  const int result = inflateBack(&zlib, NoMoreInput, nullptr, TakeWindow, &pieces);
  // What follows the last block is the Adler-32 of all the stream gave, and the stored size ends
  // with it: bytes after it belong to no stream, so the record is damaged.
  const bool ended = result == Z_STREAM_END && zlib.avail_in == 4 &&
                     LoadBE32(zlib.next_in) == uint32_t(pieces.adler);
  inflateBackEnd(&zlib);
  delete[] window;
  if (!ended || (pieces.filled > 0 && !take(context, piece, pieces.filled))) return false;
  outputLength_ = fullSize - pieces.remaining;
  return true;
}

}  // namespace setup
