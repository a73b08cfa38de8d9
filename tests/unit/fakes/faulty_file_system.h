// A FileSystem that fails on cue, for fault-injection tests: it passes every call on to another
// and counts the calls that change the disk (creating, writing, seeking and closing files,
// making and removing folders, deleting, copying, moving, changing attributes and the current
// folder), in the order they reach it from whichever thread. At one step it either fails that call alone (kFail), or crashes (kCrash): that call
// and every later change are dropped, as if the machine had stopped there. Reads always pass.
//
//   FaultyFileSystem counting(disk, FaultyFileSystem::Mode::kFail, 0);  // step 0: never fails
//   RunTheWork(counting);
//   for (int step = 1; step <= counting.steps(); ++step) { ... Mode::kFail, step ... }
#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace setup::testing {

class FaultyFileSystem : public FileSystem {
 public:
  enum class Mode { kFail, kCrash };

  // One counted call: what it was ("RemoveFile", "Write"...) and the path it was about (for the
  // calls of an open file, that file's path; for a move or copy, the destination).
  struct Call {
    std::string operation;
    std::string path;
  };

  FaultyFileSystem(FileSystem& inner, Mode mode, int step) : inner_(inner), mode_(mode), faultStep_(step) {}

  int steps() const { return int(calls_.size()); }
  const std::vector<Call>& calls() const { return calls_; }
  // The call that failed or crashed, or null when the fault step was never reached.
  const Call* faulted() const { return faultStep_ >= 1 && faultStep_ <= steps() ? &calls_[faultStep_ - 1] : nullptr; }
  // True when the faulted call would have removed something (a file or a folder).
  bool faultedARemoval() const;
  // True when some file was moved into place before its data had been synced.
  bool movedUnsyncedFile() const { return movedUnsyncedFile_; }

  bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) override {
    return inner_.ReadWholeFile(path, data, size);
  }
  bool FileSize(const char* path, uint64_t* size) override { return inner_.FileSize(path, size); }
  bool ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) override {
    return inner_.ReadFileStart(path, buffer, capacity, got);
  }
  bool ListFolder(const char* folder, FolderVisitor& visitor) override { return inner_.ListFolder(folder, visitor); }
  bool CurrentFolder(char* buffer, uint32_t capacity) override { return inner_.CurrentFolder(buffer, capacity); }
  bool FreeBytes(const char* root, uint64_t* bytes) override { return inner_.FreeBytes(root, bytes); }
  bool ChangeFolder(const char* path) override { return Step("ChangeFolder", path) && inner_.ChangeFolder(path); }
  bool MakeFolder(const char* path) override { return Step("MakeFolder", path) && inner_.MakeFolder(path); }
  bool RemoveEmptyFolder(const char* path) override {
    return Step("RemoveEmptyFolder", path) && inner_.RemoveEmptyFolder(path);
  }
  bool RemoveFile(const char* path) override { return Step("RemoveFile", path) && inner_.RemoveFile(path); }
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override;
  bool CopyFileOver(const char* source, const char* destination) override {
    return Step("CopyFileOver", destination) && inner_.CopyFileOver(source, destination);
  }
  bool SetNormalAttributes(const char* path) override {
    return Step("SetNormalAttributes", path) && inner_.SetNormalAttributes(path);
  }
  bool MoveOver(const char* from, const char* to) override;

 private:
  class File;

  // True if the call may go ahead.
  bool Step(const char* operation, const std::string& path);
  void NoteUnsynced(const std::string& path, bool unsynced);

  std::mutex mutex_;  // over the counting and the notes below: the install engine has workers
  FileSystem& inner_;
  Mode mode_;
  int faultStep_;
  bool crashed_ = false;
  std::vector<Call> calls_;
  std::set<std::string> unsynced_;
  bool movedUnsyncedFile_ = false;
};

}  // namespace setup::testing
