// A FileSystem that passes every call on to another and remembers the files and folders that the
// calls created, so that a failed install run can take back exactly its own work and nothing that
// was there before it.
#pragma once

#include "base/text_buffer.h"
#include "platform/file_system.h"
#include "platform/threads.h"

namespace setup {

class CreationLog : public FileSystem {
 public:
  explicit CreationLog(FileSystem& inner) : inner_(inner) {}
  // Safe to call from several threads at once when a lock can be had from threads.
  CreationLog(FileSystem& inner, Threads* threads) : inner_(inner), lock_(threads ? threads->NewLock() : nullptr) {}

  // Deletes the files created through this log, newest first, then removes the folders it created
  // that are empty by then, deepest first. What cannot be deleted stays.
  void TakeBack();

  bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) override {
    return inner_.ReadWholeFile(path, data, size);
  }
  bool FileSize(const char* path, uint64_t* size) override { return inner_.FileSize(path, size); }
  bool ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) override {
    return inner_.ReadFileStart(path, buffer, capacity, got);
  }
  bool ListFolder(const char* folder, FolderVisitor& visitor) override {
    return inner_.ListFolder(folder, visitor);
  }
  bool CurrentFolder(char* buffer, uint32_t capacity) override {
    return inner_.CurrentFolder(buffer, capacity);
  }
  bool ChangeFolder(const char* path) override { return inner_.ChangeFolder(path); }
  bool MakeFolder(const char* path) override;
  bool RemoveEmptyFolder(const char* path) override { return inner_.RemoveEmptyFolder(path); }
  bool RemoveFile(const char* path) override { return inner_.RemoveFile(path); }
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override;
  bool MoveOver(const char* from, const char* to) override;
  bool CopyFileOver(const char* source, const char* destination) override;
  bool SetNormalAttributes(const char* path) override { return inner_.SetNormalAttributes(path); }
  bool FreeBytes(const char* root, uint64_t* bytes) override { return inner_.FreeBytes(root, bytes); }

 private:
  void Note(TextBuffer<char>& list, const char* path);

  FileSystem& inner_;
  // Paths one after the other, each with its NUL, oldest first.
  TextBuffer<char> files_;
  TextBuffer<char> folders_;
  std::unique_ptr<ThreadLock> lock_;  // over the two lists; none: one thread only
};

}  // namespace setup
