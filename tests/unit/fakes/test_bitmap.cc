#include "fakes/test_bitmap.h"

#include "fakes/test_archive.h"

namespace setup::testing {

std::vector<uint8_t> MakeBitmap(int32_t width, int32_t height, uint16_t bits) {
  const uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
  const uint32_t stride = (uint32_t(width) * bits + 31) / 32 * 4;
  const uint32_t rows = uint32_t(height < 0 ? -height : height);
  const uint32_t offBits = 14 + 40 + palette;
  std::vector<uint8_t> file(offBits + stride * rows);
  file[0] = 'B';
  file[1] = 'M';
  Poke32(file, 2, uint32_t(file.size()));
  Poke32(file, kOffBitsField, offBits);
  Poke32(file, kInfoAt, 40);
  Poke32(file, kInfoAt + 4, uint32_t(width));
  Poke32(file, kInfoAt + 8, uint32_t(height));
  file[kInfoAt + 12] = 1;  // planes
  file[kInfoAt + 14] = uint8_t(bits);
  for (size_t i = offBits; i < file.size(); ++i) file[i] = uint8_t(i * 7);
  return file;
}

}  // namespace setup::testing
