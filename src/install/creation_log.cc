#include "install/creation_log.h"

#include <cstring>

#include "platform/files.h"

namespace setup {

namespace {

// Calls take(path) for each path of list, newest first.
template <typename Take>
void NewestFirst(const TextBuffer<char>& list, Take take) {
  const char* paths = list.c_str();
  size_t end = list.size();
  while (end > 0) {
    size_t start = end - 1;  // at the path's NUL
    while (start > 0 && paths[start - 1] != '\0') --start;
    take(paths + start);
    end = start;
  }
}

}  // namespace

// A path that cannot be noted (memory is short) is only left in place by a take-back.
void CreationLog::Note(TextBuffer<char>& list, const char* path) {
  if (lock_ == nullptr) {
    list.Append(path, strlen(path) + 1);
    return;
  }
  LockHeld held(*lock_);
  list.Append(path, strlen(path) + 1);
}

bool CreationLog::MakeFolder(const char* path) {
  if (!inner_.MakeFolder(path)) return false;
  Note(folders_, path);
  return true;
}

std::unique_ptr<OutputFile> CreationLog::OpenForWriting(const char* path, WriteMode mode) {
  // A new file that opens was not there before: no need to ask.
  const bool existed = mode == WriteMode::kReplace && FileExists(inner_, path);
  std::unique_ptr<OutputFile> file = inner_.OpenForWriting(path, mode);
  if (file && !existed) Note(files_, path);
  return file;
}

bool CreationLog::MoveOver(const char* from, const char* to) {
  const bool existed = FileExists(inner_, to);
  if (!inner_.MoveOver(from, to)) return false;
  if (!existed) Note(files_, to);
  return true;
}

bool CreationLog::CopyFileOver(const char* source, const char* destination) {
  const bool existed = FileExists(inner_, destination);
  if (!inner_.CopyFileOver(source, destination)) return false;
  if (!existed) Note(files_, destination);
  return true;
}

void CreationLog::TakeBack() {
  NewestFirst(files_, [this](const char* file) {
    inner_.SetNormalAttributes(file);
    inner_.RemoveFile(file);
  });
  NewestFirst(folders_, [this](const char* folder) { inner_.RemoveEmptyFolder(folder); });
  files_.Clear();
  folders_.Clear();
}

}  // namespace setup
