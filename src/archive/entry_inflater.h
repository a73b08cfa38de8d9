// Decompresses one zlib stream straight from the source: whole into a buffer allocated once at the
// entry's full size, or piece by piece into a buffer of the caller's, each piece handed on as it
// fills, for a file written as it is inflated.
//
// zlib's callback inflater does the work: it is less than half the size of its streaming one, which
// brings with it header, dictionary and resynchronising code this program never runs. The zlib
// header and the Adler-32 trailer are checked here.
#pragma once

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
  // ended properly within fullSize bytes, its Adler-32 the last of the storedSize bytes; false for
  // corrupt or truncated data, bytes after the stream's end, data that would grow past fullSize, a
  // full size no stream of that length can reach, or no memory. A failure frees its buffer.
  bool Inflate(const uint8_t* source, uint32_t storedSize, uint32_t fullSize);

  // The same through piece[capacity]: take(context, piece, length) gets the piece each time it is
  // full, and what is left once the stream has ended and proved sound. False, as above, or as soon
  // as take is; the pieces handed on before a failure were never proved sound. With no piece the
  // stream is only proved, and take is never called.
  using Take = bool (*)(void* context, const uint8_t* piece, uint32_t length);
  bool InflateInPieces(const uint8_t* source, uint32_t storedSize, uint32_t fullSize,
                       uint8_t* piece, uint32_t capacity, Take take, void* context);

  // The output of a successful Inflate, from new[]; the caller owns it from now on.
  uint8_t* TakeOutput();
  // What the last stream gave, when it ended well.
  uint32_t OutputLength() const { return outputLength_; }

 private:
  uint8_t* output_ = nullptr;
  uint32_t outputLength_ = 0;
};

}  // namespace setup
