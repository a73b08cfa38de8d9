// Decompresses one zlib stream into a buffer allocated once at the entry's full size, straight from
// the source into that buffer: no window or chunk between them to copy through, which is what
// keeps zlib in its fast loop.
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
  virtual ~EntryInflater() = default;

  // Inflates storedSize bytes at source into a new buffer of fullSize bytes. True when the stream
  // ended properly within fullSize bytes; false for corrupt or truncated data, data that would
  // grow past fullSize, a full size no stream of that length can reach, or no memory. A failure
  // frees its buffer and ends its zlib stream.
  bool Inflate(const uint8_t* source, uint32_t storedSize, uint32_t fullSize);

  // The same into output[fullSize], which the caller owns; OutputLength tells how much of it was
  // filled. On false its bytes are undefined.
  bool InflateInto(const uint8_t* source, uint32_t storedSize, uint32_t fullSize, uint8_t* output);

  // The output of a successful Inflate, from new[]; the caller owns it from now on.
  uint8_t* TakeOutput();
  uint32_t OutputLength() const { return outputLength_; }

 private:
  uint8_t* output_ = nullptr;
  uint32_t outputLength_ = 0;
  z_stream zlib_;
};

}  // namespace setup
