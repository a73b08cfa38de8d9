// Helpers shared by the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace setup::fuzz {

// A property every input must keep; breaking it is a finding, reported like a crash.
#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) {                                                         \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      abort();                                                                  \
    }                                                                           \
  } while (0)

// Reads every byte, so that AddressSanitizer sees a range that is not all inside its buffer.
inline void ReadAll(const uint8_t* data, size_t size) {
  volatile uint8_t sink = 0;
  for (size_t i = 0; i < size; ++i) sink = sink ^ data[i];
  (void)sink;
}

inline std::vector<uint8_t> ToBytes(const uint8_t* data, size_t size) {
  return std::vector<uint8_t>(data, data + size);
}

// An empty "ZARC" archive: only the header, no entries.
inline std::vector<uint8_t> EmptyArchive() { return {'Z', 'A', 'R', 'C', 0, 0, 0, 0}; }

inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace setup::fuzz
