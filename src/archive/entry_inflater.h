// Decompresses one zlib stream straight from the source: whole into a buffer allocated once at the
// entry's full size (no window or chunk to copy through, which keeps zlib in its fast loop), or
// piece by piece into a buffer of the caller's, for a file written as it is inflated.
#pragma once

#include <zlib.h>

#include <cstdint>

namespace setup {

class EntryInflater {
 public:
  EntryInflater() = default;
  EntryInflater(const EntryInflater&) = delete;
  EntryInflater& operator=(const EntryInflater&) = delete;
  // Does not free a successful output: that passes to the caller through TakeOutput.
  ~EntryInflater();

  // Inflates storedSize bytes at source into a new buffer of fullSize bytes. True when the stream
  // ended properly within fullSize bytes; false for corrupt or truncated data, data that would
  // grow past fullSize, a full size no stream of that length can reach, or no memory. A failure
  // frees its buffer and ends its zlib stream.
  bool Inflate(const uint8_t* source, uint32_t storedSize, uint32_t fullSize);

  // Piece by piece: Begin, then Next into a buffer of the caller's until it gives no more bytes.
  // Begin is false for a full size no stream of that length can reach.
  bool Begin(const uint8_t* source, uint32_t storedSize, uint32_t fullSize);
  // The next bytes into piece[capacity], their count in *length: 0 once the stream has ended
  // (within the full size; OutputLength tells all it gave). False, ending the stream, for corrupt
  // or truncated data or data that would grow past the full size.
  bool Next(uint8_t* piece, uint32_t capacity, uint32_t* length);

  // The output of a successful Inflate, from new[]; the caller owns it from now on.
  uint8_t* TakeOutput();
  uint32_t OutputLength() const { return outputLength_; }

 private:
  bool Stop(bool ok);

  uint8_t* output_ = nullptr;
  uint32_t outputLength_ = 0;
  uint32_t remaining_ = 0;  // of the full size, while a stream is open
  bool open_ = false;
  bool ended_ = false;  // the stream ended well: Next gives no more
  z_stream zlib_;
};

}  // namespace setup
