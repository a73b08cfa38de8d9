// Builds "ZARC" images and "ZFIL" files in memory for tests, with zlib directly (not the packer),
// and lets a test bend any record afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setup::testing {

struct TestEntry {
  std::string name;
  std::vector<uint8_t> data;
  bool external = false;  // a record with stored size 0
};

std::vector<uint8_t> Bytes(const std::string& text);
std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, int level = 9);
std::vector<uint8_t> PseudoRandom(size_t size, uint32_t seed);

std::vector<uint8_t> BuildArchive(const std::vector<TestEntry>& entries);
std::vector<uint8_t> BuildZfil(const std::vector<uint8_t>& data);

// Overwrites the 32-bit little-endian field at byte offset of an image.
void Poke32(std::vector<uint8_t>& image, size_t offset, uint32_t value);
// Byte offset of record i's fields in a "ZARC" image.
inline size_t RecordOffset(size_t i) { return 8 + 64 * i; }

}  // namespace setup::testing
