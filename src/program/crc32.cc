// The CRC-32 that zlib's inflater refers to. It checks only gzip streams, which this program never
// reads (package entries are zlib streams, checked with Adler-32); a bitwise CRC in place of
// zlib's table-driven one keeps 13 KB of tables out of the program and still gives the same values.
#include <zlib.h>

#include <cstdint>

extern "C" uLong crc32(uLong crc, const Bytef* buffer, uInt length) {
  if (buffer == Z_NULL) return 0;
  uint32_t value = ~uint32_t(crc);
  for (uInt i = 0; i < length; ++i) {
    value ^= buffer[i];
    for (int bit = 0; bit < 8; ++bit) value = (value >> 1) ^ (0xEDB88320u & (0u - (value & 1u)));
  }
  return ~value;
}
