#include "zarc/compress_entry.h"

#include <zlib.h>

#include <cstring>

namespace zarc {

bool CompressEntry(const uint8_t* data, uint32_t size, std::vector<uint8_t>* stream) {
  z_stream zlib;
  memset(&zlib, 0, sizeof zlib);
  if (deflateInit(&zlib, Z_BEST_COMPRESSION) != Z_OK) return false;
  // Grown by hand: deflateBound takes a uLong, which is 32 bits on Windows.
  std::vector<uint8_t> out(size / 2 + 64);
  zlib.next_in = const_cast<uint8_t*>(data);
  zlib.avail_in = size;
  size_t produced = 0;
  int result;
  do {
    if (produced == out.size()) out.resize(out.size() * 2);
    const size_t room = out.size() - produced;
    zlib.next_out = out.data() + produced;
    zlib.avail_out = uInt(room < 0x40000000u ? room : 0x40000000u);
    const uInt before = zlib.avail_out;
    result = deflate(&zlib, Z_FINISH);
    produced += before - zlib.avail_out;
  } while (result == Z_OK);  // Z_OK with Z_FINISH: out of room, call again
  deflateEnd(&zlib);
  if (result != Z_STREAM_END) return false;
  out.resize(produced);
  *stream = std::move(out);
  return true;
}

}  // namespace zarc
