// The install list of a package's script: what a setup or a version-up does, entry by entry.
// Text is code page 932.
#pragma once

#include <cstddef>
#include <cstdint>

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

struct InstallList {
  int32_t count;
  InstallEntry entries[kMaxInstallEntries];
};

}  // namespace setup
