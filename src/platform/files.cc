#include "platform/files.h"

#include "base/text.h"

namespace setup {

bool FileExists(FileSystem& files, const char* path) {
  uint64_t size;
  return files.FileSize(path, &size);
}

std::unique_ptr<OutputFile> CreateFileBeside(FileSystem& files, const char* path, char* temporary, size_t capacity,
                                             const char* suffix) {
  for (int i = 0; i < kTemporaryNames; ++i) {
    const int length = FormatText(temporary, capacity, "%s%s%d", path, suffix, i);
    if (length < 0 || size_t(length) >= capacity) break;
    if (auto file = files.OpenForWriting(temporary, WriteMode::kReplace)) return file;
  }
  if (capacity > 0) temporary[0] = '\0';
  return nullptr;
}

}  // namespace setup
