#include "platform/files.h"

namespace setup {

bool FileExists(FileSystem& files, const char* path) {
  uint64_t size;
  return files.FileSize(path, &size);
}

}  // namespace setup
