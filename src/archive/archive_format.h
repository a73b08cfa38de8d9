// The two package layouts, read through checked helpers that never look outside the given bytes.
//
// "ZARC" archive, all numbers little-endian unsigned 32-bit:
//
//   0        4   magic "ZARC"
//   4        4   entry count (only the low 16 bits are read; at most 512)
//   8   64 x n   index: one ArchiveEntry per entry
//   ...          entry data: one complete zlib stream per entry, where its record points
//
//   ArchiveEntry, 64 bytes:
//   0   4   offset       of the entry's zlib stream, from the first byte of the image
//   4   4   stored size  length of that zlib stream; 0: read the file of this name from disk
//   8   4   full size    length of the decompressed data
//   12 52   name         NUL-terminated (at most 51 bytes), NUL-padded, code page 932
//
// "ZFIL" single compressed file:
//
//   0   4   magic "ZFIL"
//   4   4   stored size  length of the zlib stream
//   8   4   full size    length of the decompressed data
//   12 52   not read (the packer puts the file's name here)
//   64  ..  the zlib stream
//
// "ZSRC" package sources, the "ZARC" resource 136 that zarc setup writes into every program it
// makes (a program without one is as built from the sources: the current directory takes part):
//
//   0   4   magic "ZSRC"
//   4   4   flags        bit 0: "files.zarc" and the files of the current directory take part;
//                        the other bits are 0
#pragma once

#include <cstdint>

namespace setup {

constexpr uint32_t kMaxArchiveEntries = 512;
constexpr uint32_t kEntryNameCapacity = 52;  // 51 bytes and the NUL
constexpr uint32_t kArchiveHeaderSize = 8;
constexpr uint32_t kArchiveRecordSize = 64;
constexpr uint32_t kZfilHeaderSize = 64;
constexpr uint32_t kPackageSourcesSize = 8;

struct ArchiveEntry {
  uint32_t offset;
  uint32_t storedSize;
  uint32_t fullSize;
  char name[kEntryNameCapacity];
};
static_assert(sizeof(ArchiveEntry) == kArchiveRecordSize, "ArchiveEntry is the 64-byte record");

// Reads the index of a "ZARC" image into table[kMaxArchiveEntries] and its count. False, with table
// and count untouched, when the magic is missing, the count exceeds 512 or the index runs past size.
bool ReadArchiveIndex(const uint8_t* image, uint32_t size, ArchiveEntry* table, uint32_t* count);

// True when the entry's name is exactly key. A name without a NUL in its 52 bytes equals nothing.
bool EntryNameIs(const ArchiveEntry& entry, const char* key);

// True when the entry's zlib stream lies within an image of imageSize bytes.
bool EntryDataInside(const ArchiveEntry& entry, uint32_t imageSize);

// True when data begins with the "ZFIL" magic.
bool HasZfilMagic(const uint8_t* data, uint32_t size);

// Reads a "ZFIL" header: false when the magic is missing or the stream runs past size.
bool ReadZfilHeader(const uint8_t* data, uint32_t size, uint32_t* storedSize, uint32_t* fullSize);

// True when a "ZSRC" record lets the current directory take part. Anything that is not such a
// record with bit 0 set says no: a damaged record must not open the program to the folder.
bool CurrentFolderTakesPart(const uint8_t* record, uint32_t size);

// The "ZSRC" record that says whether the current directory takes part.
void WritePackageSources(bool currentFolderTakesPart, uint8_t (&record)[kPackageSourcesSize]);

}  // namespace setup
