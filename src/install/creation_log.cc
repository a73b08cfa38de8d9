#include "install/creation_log.h"

namespace setup {

bool CreationLog::Exists(const char* path) {
  uint64_t size;
  return inner_.FileSize(path, &size);
}

bool CreationLog::MakeFolder(const char* path) {
  if (!inner_.MakeFolder(path)) return false;
  folders_.push_back(path);
  return true;
}

std::unique_ptr<OutputFile> CreationLog::OpenForWriting(const char* path, WriteMode mode) {
  const bool existed = Exists(path);
  std::unique_ptr<OutputFile> file = inner_.OpenForWriting(path, mode);
  if (file && !existed) files_.push_back(path);
  return file;
}

bool CreationLog::MoveOver(const char* from, const char* to) {
  const bool existed = Exists(to);
  if (!inner_.MoveOver(from, to)) return false;
  if (!existed) files_.push_back(to);
  return true;
}

bool CreationLog::CopyFileOver(const char* source, const char* destination) {
  const bool existed = Exists(destination);
  if (!inner_.CopyFileOver(source, destination)) return false;
  if (!existed) files_.push_back(destination);
  return true;
}

void CreationLog::TakeBack() {
  for (auto file = files_.rbegin(); file != files_.rend(); ++file) {
    inner_.SetNormalAttributes(file->c_str());
    inner_.RemoveFile(file->c_str());
  }
  for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
    inner_.RemoveEmptyFolder(folder->c_str());
  }
  files_.clear();
  folders_.clear();
}

}  // namespace setup
