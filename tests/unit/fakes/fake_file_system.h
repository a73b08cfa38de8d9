// An in-memory FileSystem for core tests: files in a map keyed by their full Windows-form path,
// the current directory's listing order under the test's control, and a record of what was read.
// As on a real disk, a file or folder can only be made in a folder that exists; the test's own
// AddFile and AddFolder need no parents. Safe to call from several threads, as the install
// engine's workers do.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace setup::testing {

class FakeFileSystem : public FileSystem {
 public:
  // Adds or replaces a file. A relative name lands in the current folder.
  void AddFile(const std::string& path, std::vector<uint8_t> bytes);
  void AddFile(const std::string& path, const std::string& text);
  void AddFolder(const std::string& path);

  // Paths given to ReadWholeFile, resolved, in call order.
  const std::vector<std::string>& reads() const { return reads_; }
  bool Has(const std::string& path) const { return files_.count(Resolve(path)) != 0; }
  // Calls of the FileSystem interface so far, of every kind, reads included.
  int calls() const {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    return calls_;
  }
  const std::vector<uint8_t>& Contents(const std::string& path) const;

  bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) override;
  bool FileSize(const char* path, uint64_t* size) override;
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
  // True for a file of held while it has asks left (-1: held for good); each ask takes one.
  bool HeldByAnother(const char* path) override;
  // The value in freeBytes for exactly this root; false for any other. Records the root asked.
  bool FreeBytes(const char* root, uint64_t* bytes) override;

  std::map<std::string, uint64_t> freeBytes;     // by root as asked: "C:\", "D:"
  std::vector<std::string> freeSpaceQueries;     // roots asked, in order
  std::map<std::string, int> heldFiles;              // files another program holds, by full path

 private:
  std::string Resolve(const std::string& path) const;
  bool FolderExists(const std::string& full) const;

  friend class FakeOutputFile;
  mutable std::recursive_mutex mutex_;  // over everything below
  std::string current_ = "C:\\setup";
  std::map<std::string, std::vector<uint8_t>> files_;
  std::vector<std::string> folders_{"C:\\setup"};
  std::vector<std::string> order_;  // files in the order they were added: the listing order
  std::vector<std::string> reads_;
  int calls_ = 0;
};

}  // namespace setup::testing
