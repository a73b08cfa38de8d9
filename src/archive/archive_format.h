// The two package layouts (model/package_layout.h), read through checked helpers that never look
// outside the given bytes.
#pragma once

#include <cstdint>

#include "model/package_layout.h"

namespace setup {

struct ArchiveEntry {
  uint32_t offset;
  uint32_t storedSize;
  uint32_t fullSize;
  char name[kEntryNameCapacity];
};
static_assert(sizeof(ArchiveEntry) == kArchiveRecordSize, "ArchiveEntry is the 64-byte record");

// The number of records of a "ZARC" image's index: false, with count untouched, when the magic is
// missing or the index runs past size.
bool ArchiveRecordCount(const uint8_t* image, uint32_t size, uint32_t* count);

// Reads the index of a "ZARC" image into table, which holds at least as many entries as
// ArchiveRecordCount gives, and its count. False, with table and count untouched, where
// ArchiveRecordCount is.
bool ReadArchiveIndex(const uint8_t* image, uint32_t size, ArchiveEntry* table, uint32_t* count);

// The n records of an image whose count ArchiveRecordCount gave, into table[n].
void CopyArchiveRecords(const uint8_t* image, uint32_t n, ArchiveEntry* table);

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

// The flags of a "ZSRC" record; none for anything that is not exactly such a record.
uint32_t PackageSourceFlags(const uint8_t* record, uint32_t size);

// The "ZSRC" record with these flags.
void WritePackageSources(uint32_t flags, uint8_t (&record)[kPackageSourcesSize]);

}  // namespace setup
