#include "install/removal.h"

#include <cstring>

#include "base/path.h"
#include "base/text.h"
#include "platform/file_system.h"

namespace setup {

namespace {

// True for a name that Windows would reduce to nothing or to a step up: ".", "..", "...", " ".
bool IsEmptyOrDotName(const char* name, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (name[i] != '.' && name[i] != ' ') return false;
  }
  return true;
}

// True for "X:\name[\name...]" or "\\server\share\name[\name...]", at most 259 bytes, with one
// trailing separator allowed and no empty or dot-only name: a folder strictly below a root.
bool NamesFolderBelowRoot(const char* path) {
  size_t length = BoundedLength(path, kPathCapacity);
  if (length == kPathCapacity) return false;
  size_t at;
  int namesNeeded;
  if (((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
      IsSeparator(path[2])) {
    at = 3;
    namesNeeded = 1;
  } else if (IsSeparator(path[0]) && IsSeparator(path[1])) {
    at = 2;
    namesNeeded = 3;  // server, share, and a folder on it
  } else {
    return false;
  }
  int names = 0;
  while (at < length) {
    size_t start = at;
    while (at < length && !IsSeparator(path[at])) {
      at += Cp932CharLength(path + at);
    }
    if (IsEmptyOrDotName(path + start, at - start)) return false;
    ++names;
    ++at;  // past the separator, or past the end
  }
  return names >= namesNeeded;
}

// DeleteFolderTree below a folder that ends with its separator.
class TreeDeleter : public FolderVisitor {
 public:
  TreeDeleter(FileSystem& files, const char* folder) : files_(files), folder_(folder) {}

  bool Visit(const FolderItem& item) override {
    char path[kPathCapacity];
    if (item.isFolder) {
      if (strcmp(item.name, ".") == 0 || strcmp(item.name, "..") == 0) return true;
      if (FormatPath(path, "%s%s\\", folder_, item.name)) DeleteBelowAndSelf(files_, path);
    } else if (FormatPath(path, "%s%s", folder_, item.name)) {
      files_.RemoveFile(path);  // a read-only file stays, and keeps its folders
    }
    return true;  // an item whose path does not fit stays; the rest still goes
  }

  static void DeleteBelowAndSelf(FileSystem& files, const char* folder) {
    TreeDeleter deleter(files, folder);
    files.ListFolder(folder, deleter);
    char self[kPathCapacity];
    CopyText(self, sizeof self, folder);
    self[strlen(self) - 1] = '\0';  // the trailing separator, a single byte
    files.RemoveEmptyFolder(self);
  }

 private:
  FileSystem& files_;
  const char* folder_;
};

}  // namespace

void DeleteFolderTree(FileSystem& files, const char* path) {
  if (!NamesFolderBelowRoot(path)) return;
  char folder[kPathCapacity];
  if (!FormatPath(folder, EndsWithSeparator(path) ? "%s" : "%s\\", path)) return;
  TreeDeleter::DeleteBelowAndSelf(files, folder);
}

}  // namespace setup
