#include "platform/files.h"

#include "base/text.h"

namespace setup {

bool FileExists(FileSystem& files, const char* path) {
  uint64_t size;
  return files.FileSize(path, &size);
}

std::unique_ptr<OutputFile> CreateFileBeside(FileSystem& files, const char* path, const char* suffix,
                                             char* temporary, size_t capacity) {
  for (int i = 0; i < kTemporaryNames; ++i) {
    const int length = i == 0 ? FormatText(temporary, capacity, "%s%s", path, suffix)
                              : FormatText(temporary, capacity, "%s%s%d", path, suffix, i);
    if (length < 0 || size_t(length) >= capacity) break;
    if (auto file = files.OpenForWriting(temporary, WriteMode::kNew)) return file;
  }
  if (capacity > 0) temporary[0] = '\0';
  return nullptr;
}

}  // namespace setup
