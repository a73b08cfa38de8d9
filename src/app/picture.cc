#include "app/picture.h"

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "base/byte_order.h"

namespace setup {

// A bitmap file as it is checked here, little-endian:
//
//   0   14  BITMAPFILEHEADER: "BM", file size, reserved, bfOffBits (offset 10) = where the rows are
//   14  40+ BITMAPINFOHEADER: biSize, biWidth, biHeight, biPlanes, biBitCount, biCompression,
//           biSizeImage, x/y resolution, biClrUsed, biClrImportant
//   ..      colour table: biClrUsed entries (or 2^bits for 8 bits or fewer) of 4 bytes; for
//           BI_BITFIELDS three masks follow a 40-byte header
//   bfOffBits  rows of ((width x bits + 31) / 32) x 4 bytes each, |height| rows
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitfields = 3;
constexpr int32_t kMaxSide = 32768;

bool ValidBitmap(const uint8_t* data, uint32_t size) {
  if (size < kFileHeaderSize + kInfoHeaderSize) return false;
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t headerSize = LoadLE32(info);
  const int32_t width = int32_t(LoadLE32(info + 4));
  const int32_t height = int32_t(LoadLE32(info + 8));
  const uint16_t bits = LoadLE16(info + 14);
  const uint32_t compression = LoadLE32(info + 16);
  const uint32_t coloursUsed = LoadLE32(info + 32);
  if (headerSize < kInfoHeaderSize || width <= 0 || width > kMaxSide || height == 0 ||
      height > kMaxSide || height < -kMaxSide) {
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (compression != kRgb && !(compression == kBitfields && (bits == 16 || bits == 32))) return false;

  uint64_t tableBytes;
  if (bits <= 8) {
    if (coloursUsed > (1u << bits)) return false;
    tableBytes = uint64_t(coloursUsed != 0 ? coloursUsed : 1u << bits) * 4;
  } else {
    tableBytes = uint64_t(coloursUsed) * 4;
  }
  if (compression == kBitfields && headerSize == kInfoHeaderSize) tableBytes += 12;
  if (!RangeInside(kFileHeaderSize, uint64_t(headerSize) + tableBytes, size)) return false;

  const uint32_t rowsAt = LoadLE32(data + 10);
  const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
  const uint64_t rows = uint64_t(height < 0 ? -int64_t(height) : height);
  return rowsAt >= kFileHeaderSize && RangeInside(rowsAt, stride * rows, size);
}

}  // namespace

namespace {

// Finds the parts of the bitmap the stream was just filled with.
bool ReadPicture(MemoryStream& stream, const uint8_t** info, const uint8_t** bits) {
  const uint8_t* data = stream.CurrentData();
  if (data == nullptr || !ValidBitmap(data, stream.Size())) return false;
  uint8_t fileHeader[kFileHeaderSize];
  stream.Read(fileHeader, kFileHeaderSize);
  *info = stream.CurrentData();
  stream.Seek(int32_t(LoadLE32(fileHeader + 10)), 0);
  *bits = stream.CurrentData();
  return true;
}

}  // namespace

bool LoadPicture(MemoryStream& stream, const PackageArchive& archive, const char* name,
                 const uint8_t** info, const uint8_t** bits) {
  return archive.Load(name, stream) && ReadPicture(stream, info, bits);
}

int32_t PictureWidth(const uint8_t* info) { return int32_t(LoadLE32(info + 4)); }
int32_t PictureHeight(const uint8_t* info) { return int32_t(LoadLE32(info + 8)); }

}  // namespace setup
