// FileSystem on a POSIX host, so that the core runs against a real disk on Linux.
//
// Paths arrive as code page 932 bytes in Windows form and are mapped like this:
//   "X:\a\b"  ->  <folder mapped to drive X>/a/b   ("X:" and "X:\" are that folder itself)
//   "a\b"     ->  a/b, relative to the current directory
//   "/a/b"    ->  /a/b, a host path as it is
// Every '\' that separates becomes '/'; a 0x5C that is the trail byte of a double-byte character
// stays part of its name ("ソフト" is 83 5C 83 74 83 67). Names are otherwise kept as bytes.
// A drive that is not mapped, or a drive-relative path such as "C:a", names nothing.
//
// Where POSIX is more permissive than Windows, the Windows behaviour is kept, so that host runs
// fail where setup.exe would: a file without its owner-write bit counts as read-only, and a
// read-only file is neither deleted, truncated nor replaced, even when running as root.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace setup {

class PosixFileSystem : public FileSystem {
 public:
  PosixFileSystem() = default;

  // Maps drive letter (either case) to hostFolder, replacing an earlier mapping of that letter.
  // hostFolder should be absolute: a relative one would follow the current directory.
  void MapDrive(char letter, const std::string& hostFolder);

  // The host path for a Windows-form path. False if it names an unmapped drive or is drive-relative.
  bool ToHostPath(const char* path, std::string* hostPath) const;

  bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) override;
  bool FileSize(const char* path, uint64_t* size) override;
  bool ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) override;
  // Symbolic links are reported as files and never followed, so a recursive removal deletes the
  // link and not what it points to.
  bool ListFolder(const char* folder, FolderVisitor& visitor) override;
  // In Windows form ("C:\sub") when the current directory lies under a mapped drive's folder,
  // otherwise the host path as it is.
  bool CurrentFolder(char* buffer, uint32_t capacity) override;
  bool ChangeFolder(const char* path) override;
  bool MakeFolder(const char* path) override;
  bool RemoveEmptyFolder(const char* path) override;
  bool RemoveFile(const char* path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override;
  bool MoveOver(const char* from, const char* to) override;
  // Copies bytes and the permission bits; a destination that already exists keeps its inode.
  bool CopyFileOver(const char* source, const char* destination) override;
  // Gives the owner write permission, the host's form of clearing the read-only mark.
  bool SetNormalAttributes(const char* path) override;
  // Measured with statvfs on the folder the path maps to.
  bool FreeBytes(const char* root, uint64_t* bytes) override;

 private:
  static constexpr int kDriveCount = 26;
  bool mapped_[kDriveCount] = {};
  std::string driveFolders_[kDriveCount];  // without a trailing '/'; "" for the host root
};

}  // namespace setup
