#include "zarc/pack/archive_writer.h"

#include <cstring>

#include "archive/archive_format.h"
#include "base/byte_order.h"

namespace zarc {

using setup::kArchiveHeaderSize;
using setup::kArchiveRecordSize;
using setup::kEntryNameCapacity;
using setup::StoreLE32;

namespace {

void PutName(uint8_t* field, const std::string& name) {
  memset(field, 0, kEntryNameCapacity);
  if (name.size() < kEntryNameCapacity) memcpy(field, name.data(), name.size());
}

}  // namespace

bool LayOutArchive(const std::vector<uint64_t>& storedSizes, std::vector<uint32_t>* offsets,
                   uint64_t* imageSize, size_t* tooFar) {
  uint64_t end = kArchiveHeaderSize + uint64_t(kArchiveRecordSize) * storedSizes.size();
  if (end > kMaxFileSize) {  // an index alone that large: only with far more than 512 entries
    *tooFar = storedSizes.size();
    return false;
  }
  offsets->assign(storedSizes.size(), 0);
  for (size_t i = 0; i < storedSizes.size(); ++i) {
    if (storedSizes[i] == 0) continue;
    if (storedSizes[i] > kMaxFileSize - end) {
      *tooFar = i;
      return false;
    }
    (*offsets)[i] = uint32_t(end);
    end += storedSizes[i];
  }
  *imageSize = end;
  return true;
}

std::vector<uint8_t> ArchiveHead(const std::vector<PackedEntry>& entries,
                                 const std::vector<uint32_t>& offsets) {
  std::vector<uint8_t> head(kArchiveHeaderSize + kArchiveRecordSize * entries.size());
  memcpy(head.data(), "ZARC", 4);
  StoreLE32(&head[4], uint32_t(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* record = &head[kArchiveHeaderSize + kArchiveRecordSize * i];
    const PackedEntry& entry = entries[i];
    StoreLE32(record, offsets[i]);
    StoreLE32(record + 4, entry.external ? 0 : uint32_t(entry.stream.size()));
    StoreLE32(record + 8, entry.external ? 0 : entry.fullSize);
    PutName(record + 12, entry.name);
  }
  return head;
}

std::vector<uint8_t> ZfilHead(uint32_t storedSize, uint32_t fullSize, const std::string& name) {
  std::vector<uint8_t> head(setup::kZfilHeaderSize);
  memcpy(head.data(), "ZFIL", 4);
  StoreLE32(&head[4], storedSize);
  StoreLE32(&head[8], fullSize);
  PutName(&head[12], name);
  return head;
}

}  // namespace zarc
