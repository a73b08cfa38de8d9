// The chunk file, in which the installed program keeps the user's saved data.
//
//   File header, at offset 0 (all numbers unsigned 32-bit little-endian):
//     0   4   magic         "FORM" (46 4F 52 4D)
//     4   4   total length  12 + the lengths of all chunks: the whole file, this header included
//     8   4   form type     the kind of file, e.g. "RNKS"
//    12       chunks, back to back up to the total length; bytes after it are not part of the file
//
//   Chunk, at any offset from 12 on:
//     0   4   id            e.g. "KTBL"; 0 cannot be told from the end of the chunks
//     4   4   length        8 + the data length: the chunk header counts itself
//     8   length - 8        data, not looked into
//
// The next chunk starts exactly length bytes after this one: no padding, so odd offsets happen.
// Identifiers are four ASCII bytes in reading order, compared as one little-endian 32-bit value.
#pragma once

#include <cstdint>

namespace setup {

// The 32-bit value of a four-letter identifier as it lies in the file: ChunkId("KTBL").
constexpr uint32_t ChunkId(const char (&text)[5]) {
  return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16 |
         uint32_t(uint8_t(text[3])) << 24;
}

constexpr uint32_t kFormMagic = ChunkId("FORM");
constexpr uint32_t kFileHeaderSize = 12;
constexpr uint32_t kChunkHeaderSize = 8;

}  // namespace setup
