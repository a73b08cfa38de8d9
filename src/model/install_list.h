// The install list of a package's script: what a setup or a version-up does, entry by entry.
// Text is code page 932.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/growing.h"
#include "model/package_layout.h"

namespace setup {

// What an install list entry does; the codes are those of the script commands #I #F #C #H #X #Z.
enum InstallEntryType : uint8_t {
  kExtractEntry = 1,   // #I name
  kMakeFolder = 2,     // #F folder
  kCopyFile = 3,       // #C source[,target]
  kCopyTree = 4,       // #H source[,target]
  kWriteNewFile = 5,   // #X name[,content]
  kIfOptionIs = 6,     // #Z number: skip the next entry unless it equals optionChoice
};

struct InstallEntry {
  uint8_t type;
  char text[kInstallTextCapacity];
};
static_assert(sizeof(InstallEntry) == 256, "an install entry is 256 bytes");

// The list grows with the script, up to kMaxInstallEntries entries. It owns its entries; it moves
// but is never copied.
struct InstallList {
  InstallList() = default;
  ~InstallList() { delete[] reinterpret_cast<uint8_t*>(entries); }
  InstallList(const InstallList&) = delete;
  InstallList& operator=(const InstallList&) = delete;
  InstallList(InstallList&& other) noexcept { *this = static_cast<InstallList&&>(other); }
  InstallList& operator=(InstallList&& other) noexcept {
    if (this != &other) {
      delete[] reinterpret_cast<uint8_t*>(entries);
      entries = other.entries;
      count = other.count;
      capacity = other.capacity;
      other.entries = nullptr;
      other.count = 0;
      other.capacity = 0;
    }
    return *this;
  }

  // A new entry at the end, or null when the list is full or no memory is left.
  InstallEntry* Append() {
    uint8_t* room = reinterpret_cast<uint8_t*>(entries);
    if (!MakeRoom(&room, uint32_t(count), sizeof(InstallEntry), &capacity, kMaxInstallEntries)) return nullptr;
    entries = reinterpret_cast<InstallEntry*>(room);
    return &entries[count++];
  }

  InstallEntry* entries = nullptr;  // from new[] of bytes, which an InstallEntry needs no more of
  int32_t count = 0;
  uint32_t capacity = 0;
};

}  // namespace setup
