#include "fakes/test_archive.h"

#include <zlib.h>

#include <cstring>

namespace setup::testing {

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, int level) {
  uLongf length = compressBound(uLong(data.size()));
  std::vector<uint8_t> out(length);
  if (compress2(out.data(), &length, data.data(), uLong(data.size()), level) != Z_OK) return {};
  out.resize(length);
  return out;
}

std::vector<uint8_t> PseudoRandom(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    out[i] = uint8_t(x % 7 == 0 ? 'a' + x % 3 : x >> 24);  // partly compressible
  }
  return out;
}

void Poke32(std::vector<uint8_t>& image, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) image[offset + i] = uint8_t(value >> (8 * i));
}

std::vector<uint8_t> BuildArchive(const std::vector<TestEntry>& entries) {
  std::vector<uint8_t> image(8 + 64 * entries.size());
  memcpy(image.data(), "ZARC", 4);
  Poke32(image, 4, uint32_t(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const TestEntry& entry = entries[i];
    const size_t record = RecordOffset(i);
    memcpy(&image[record + 12], entry.name.data(), entry.name.size() < 52 ? entry.name.size() : 52);
    if (entry.external) continue;
    std::vector<uint8_t> stream = Compress(entry.data);
    Poke32(image, record, uint32_t(image.size()));
    Poke32(image, record + 4, uint32_t(stream.size()));
    Poke32(image, record + 8, uint32_t(entry.data.size()));
    image.insert(image.end(), stream.begin(), stream.end());
  }
  return image;
}

std::vector<uint8_t> BuildZfil(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> stream = Compress(data);
  std::vector<uint8_t> file(64);
  memcpy(file.data(), "ZFIL", 4);
  Poke32(file, 4, uint32_t(stream.size()));
  Poke32(file, 8, uint32_t(data.size()));
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

}  // namespace setup::testing
