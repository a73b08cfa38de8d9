// FileSystem on Windows, through the wide API only: every path is converted from code page 932
// explicitly, and every name that comes back is converted to code page 932.
#pragma once

#include <atomic>

#include "platform/file_system.h"

namespace setup {

class Win32FileSystem : public FileSystem {
 public:
  // Removing, replacing, moving and writing over a file that another program holds is tried again
  // for up to busyLimit milliseconds before it counts as failed; the waits on "access denied",
  // which a file refused for good gives too, come out of a budget of busyLimit that every success
  // refills: many files refused in a row cost one wait in all, and a brief hold after them still
  // gets its own.
  static constexpr uint32_t kBusyLimit = 5000;
  explicit Win32FileSystem(uint32_t busyLimit = kBusyLimit) : busyLimit_(busyLimit), deniedBudget_(busyLimit) {}

  bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) override;
  bool FileSize(const char* path, uint64_t* size) override;
  bool ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) override;
  // Items whose names have no code page 932 form are skipped: the program could not name them
  // anyway. Links and junctions to folders are reported as files and never walked through, so a
  // recursive removal cannot reach what they point to.
  bool ListFolder(const char* folder, FolderVisitor& visitor) override;
  bool CurrentFolder(char* buffer, uint32_t capacity) override;
  bool ChangeFolder(const char* path) override;
  bool MakeFolder(const char* path) override;
  bool RemoveEmptyFolder(const char* path) override;
  bool RemoveFile(const char* path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override;
  bool MoveOver(const char* from, const char* to) override;
  bool CopyFileOver(const char* source, const char* destination) override;
  bool SetNormalAttributes(const char* path) override;
  // A file that cannot be opened for writing without sharing: another program has it open (or
  // runs it). A brief hold is waited for first, as for the writes.
  bool HeldByAnother(const char* path) override;
  // GetDiskFreeSpaceExW when KERNEL32 has it, else GetDiskFreeSpaceW.
  bool FreeBytes(const char* root, uint64_t* bytes) override;

 private:
  uint32_t busyLimit_;
  std::atomic<uint32_t> deniedBudget_;  // what is left of the waits on "access denied"
};

}  // namespace setup
