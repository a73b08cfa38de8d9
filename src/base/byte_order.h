// Little-endian loads and stores (and the one big-endian load a zlib trailer needs), and range checks for lengths read from untrusted bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace setup {

// Reads p[0..3] as a little-endian unsigned 32-bit value.
inline uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Reads p[0..3] as a big-endian unsigned 32-bit value.
inline uint32_t LoadBE32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Reads p[0..1] as a little-endian unsigned 16-bit value.
inline uint16_t LoadLE16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Writes v to p[0..3], little-endian.
inline void StoreLE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

// Writes v to p[0..1], little-endian.
inline void StoreLE16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

// Appends v to bytes, little-endian: 2 bytes, or 4.
inline void AppendLE16(std::vector<uint8_t>* bytes, uint16_t v) {
  bytes->push_back(uint8_t(v));
  bytes->push_back(uint8_t(v >> 8));
}
inline void AppendLE32(std::vector<uint8_t>* bytes, uint32_t v) {
  AppendLE16(bytes, uint16_t(v));
  AppendLE16(bytes, uint16_t(v >> 16));
}

// True when [offset, offset + length) lies within [0, total); computed in 64 bits so nothing wraps.
inline bool RangeInside(uint64_t offset, uint64_t length, uint64_t total) {
  return offset <= total && length <= total - offset;
}

}  // namespace setup
