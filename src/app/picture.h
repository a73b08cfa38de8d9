// The main window's pictures: Windows bitmap files ("BM"), used in place inside their stream.
#pragma once

#include <cstdint>

namespace setup {

class MemoryStream;
class PackageArchive;

// The main window's two pictures, each inside the stream that holds its entry: BITMAPINFO and
// pixel rows; null when there is none.
struct Pictures {
  const uint8_t* pictureInfo = nullptr;
  const uint8_t* pictureBits = nullptr;
  const uint8_t* partsInfo = nullptr;  // the busy animation's strip
  const uint8_t* partsBits = nullptr;
};

// Fills stream with the named entry of archive and finds its BITMAPINFO and its pixel rows inside
// it. False when the entry cannot be loaded or is not a bitmap whose header, palette and rows all
// lie within the entry (uncompressed, 1 to 32 bits per pixel): nothing is ever read outside it.
bool LoadPicture(MemoryStream& stream, const PackageArchive& archive, const char* name, const uint8_t** info,
                 const uint8_t** bits);

// Width and height of a BITMAPINFO that LoadPicture accepted (height as stored: negative for
// top-down rows).
int32_t PictureWidth(const uint8_t* info);
int32_t PictureHeight(const uint8_t* info);

}  // namespace setup
