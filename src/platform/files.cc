#include "platform/files.h"

#include <cstring>

#include "base/path.h"
#include "base/text.h"

namespace setup {

namespace {

// Where the last name of path begins: its last '\' (never a trail byte) or '/', which Windows
// reads as one too; -1 without either.
long LastFolderCut(const char* path) {
  const long backslash = LastSeparator(path);
  const char* slash = strrchr(path, '/');  // 0x2F is never a trail byte
  return slash != nullptr && slash - path > backslash ? long(slash - path) : backslash;
}

}  // namespace

bool CreateFolderPath(FileSystem& files, const char* path) {
  char working[kPathCapacity];
  if (!CopyText(working, sizeof working, path)) return false;
  if (files.MakeFolder(path)) return true;
  // Walk up to the deepest level that can be made, make it, and start again from the full path:
  // the missing levels are made from the top down. Index 0 is never taken for a separator.
  for (;;) {
    long cut = LastFolderCut(working);
    if (cut <= 0) return false;
    working[cut] = '\0';
    if (files.MakeFolder(working)) {
      if (files.MakeFolder(path)) return true;
      CopyText(working, sizeof working, path);
    }
  }
}


bool FileExists(FileSystem& files, const char* path) {
  uint64_t size;
  return files.FileSize(path, &size);
}

}  // namespace setup
