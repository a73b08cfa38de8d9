#include "archive/archive_format.h"

#include <cstring>

#include "base/byte_order.h"

namespace setup {

namespace {
const uint8_t kZarcMagic[4] = {'Z', 'A', 'R', 'C'};
const uint8_t kZfilMagic[4] = {'Z', 'F', 'I', 'L'};
const uint8_t kSourcesMagic[4] = {'Z', 'S', 'R', 'C'};
}  // namespace

bool ArchiveRecordCount(const uint8_t* image, uint32_t size, uint32_t* count) {
  if (size < kArchiveHeaderSize || memcmp(image, kZarcMagic, 4) != 0) return false;
  const uint32_t n = LoadLE16(image + 4);  // the count is written as 32 bits; its low 16 are read
  if (!RangeInside(kArchiveHeaderSize, uint64_t(n) * kArchiveRecordSize, size)) return false;
  *count = n;
  return true;
}

bool ReadArchiveIndex(const uint8_t* image, uint32_t size, ArchiveEntry* table, uint32_t* count) {
  uint32_t n;
  if (!ArchiveRecordCount(image, size, &n)) return false;
  CopyArchiveRecords(image, n, table);
  *count = n;
  return true;
}

void CopyArchiveRecords(const uint8_t* image, uint32_t n, ArchiveEntry* table) {
  const uint8_t* record = image + kArchiveHeaderSize;
  for (uint32_t i = 0; i < n; ++i, record += kArchiveRecordSize) {
    table[i].offset = LoadLE32(record);
    table[i].storedSize = LoadLE32(record + 4);
    table[i].fullSize = LoadLE32(record + 8);
    memcpy(table[i].name, record + 12, kEntryNameCapacity);
  }
}

bool EntryNameIs(const ArchiveEntry& entry, const char* key) {
  const size_t length = strlen(key);
  return length < kEntryNameCapacity && memcmp(entry.name, key, length + 1) == 0;
}

bool EntryDataInside(const ArchiveEntry& entry, uint32_t imageSize) {
  return RangeInside(entry.offset, entry.storedSize, imageSize);
}

bool HasZfilMagic(const uint8_t* data, uint32_t size) {
  return size >= 4 && memcmp(data, kZfilMagic, 4) == 0;
}

bool ReadZfilHeader(const uint8_t* data, uint32_t size, uint32_t* storedSize, uint32_t* fullSize) {
  if (!HasZfilMagic(data, size) || size < kZfilHeaderSize) return false;
  const uint32_t stored = LoadLE32(data + 4);
  if (!RangeInside(kZfilHeaderSize, stored, size)) return false;
  *storedSize = stored;
  *fullSize = LoadLE32(data + 8);
  return true;
}

uint32_t PackageSourceFlags(const uint8_t* record, uint32_t size) {
  if (size != kPackageSourcesSize || memcmp(record, kSourcesMagic, 4) != 0) return 0;
  return LoadLE32(record + 4);
}

bool CurrentFolderTakesPart(const uint8_t* record, uint32_t size) {
  return (PackageSourceFlags(record, size) & kCurrentFolderFlag) != 0;
}

void WritePackageSources(uint32_t flags, uint8_t (&record)[kPackageSourcesSize]) {
  memcpy(record, kSourcesMagic, 4);
  StoreLE32(record + 4, flags);
}

}  // namespace setup
