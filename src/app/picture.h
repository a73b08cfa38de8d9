// The main window's pictures: Windows bitmap files ("BM"), used in place inside their stream.
#pragma once

#include <cstdint>

namespace setup {

class MemoryStream;
struct PackageArchive;

// Fills stream with the named entry and finds its BITMAPINFO and its pixel rows inside it. False
// when the entry cannot be loaded or is not a bitmap whose header, palette and rows all lie within
// the entry (uncompressed, 1 to 32 bits per pixel): nothing is ever read outside it. A buffer the
// stream held before stays allocated, as with any LoadEntry; its owner keeps it.
bool LoadPicture(MemoryStream& stream, const char* name, const uint8_t** info, const uint8_t** bits);
// The same from an archive other than the program's own.
bool LoadPicture(MemoryStream& stream, const PackageArchive& archive, const char* name,
                 const uint8_t** info, const uint8_t** bits);

// Width and height of a BITMAPINFO that LoadPicture accepted (height as stored: negative for
// top-down rows).
int32_t PictureWidth(const uint8_t* info);
int32_t PictureHeight(const uint8_t* info);

}  // namespace setup
