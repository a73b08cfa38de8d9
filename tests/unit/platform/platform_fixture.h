// Real folders on the real disk for tests that work through FileSystem: the platform's own
// FileSystem and a fresh empty folder per test, in Windows form. The same tests then run on the
// host (POSIX implementation) and under Wine (Win32 implementation).
//
//   TempFolder folder;                         // ASSERT_TRUE(folder.ok()) first
//   auto fs = MakeFileSystem();
//   folder.WriteFile("a.txt", "bytes");
//   fs->ReadWholeFile(folder.PathOf("a.txt").c_str(), &data, &size);
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/threads.h"

namespace setup::testing {

// The real FileSystem of the platform. On the host, drive "C:" is a temporary folder made for this
// test process and removed at its exit, so Windows-form paths such as "C:\t1\x" work there too.
std::unique_ptr<FileSystem> MakeFileSystem();

// A fresh empty folder, removed with everything in it (read-only files too) when the object goes.
// The current directory is put back as it was when the folder was made.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // False if the folder could not be made.
  bool ok() const { return !path_.empty(); }
  // The folder in Windows form, without a trailing '\'.
  const std::string& path() const { return path_; }
  // path() + "\" + name; name may itself hold '\'s.
  std::string PathOf(const std::string& name) const { return path_ + "\\" + name; }

  // Writes bytes to the file at PathOf(name) through MakeFileSystem(), replacing one already there.
  bool WriteFile(const std::string& name, const std::string& bytes) const {
    auto file = MakeFileSystem()->OpenForWriting(PathOf(name).c_str(), WriteMode::kReplace);
    return file != nullptr && file->Write(bytes.data(), uint32_t(bytes.size())) && file->Close(false);
  }
  // Reads the whole file at PathOf(name) through MakeFileSystem().
  bool ReadFile(const std::string& name, std::string* bytes) const {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!MakeFileSystem()->ReadWholeFile(PathOf(name).c_str(), &data, &size)) return false;
    bytes->assign(reinterpret_cast<const char*>(data), size);
    delete[] data;
    return true;
  }

 private:
  std::string path_;
  std::string savedCurrent_;  // the current directory at creation, in the platform's own form
};

// The platform's registry: on the host a fresh, empty MemoryRegistry per call; on Windows the
// system's own registry (under Wine, that of the test prefix).
std::unique_ptr<Registry> MakeRegistry();

// The platform's real threads.
std::unique_ptr<Threads> MakeThreads();

// Key paths of this test's own below each root, removed with everything below them when the object
// goes (on the host each MemoryRegistry is fresh, so nothing needs removing):
//   HKEY_CURRENT_USER\Software\SetupTests\<unique>
//   HKEY_USERS\.Default\Software\SetupTests\<unique>
//   HKEY_LOCAL_MACHINE\Software\SetupTests\<unique>
class TempRegistryPath {
 public:
  TempRegistryPath();
  ~TempRegistryPath();
  TempRegistryPath(const TempRegistryPath&) = delete;
  TempRegistryPath& operator=(const TempRegistryPath&) = delete;

  // The path below root, without a trailing '\'.
  const std::string& path(RegistryRoot root) const {
    return root == RegistryRoot::kUsers ? usersPath_ : root == RegistryRoot::kCurrentUser ? currentUserPath_ : localMachinePath_;
  }

 private:
  std::string usersPath_, currentUserPath_, localMachinePath_;
};

// Makes the file at path read-only the platform's way (host: no write bits; Windows: the
// read-only attribute). False on failure.
bool MakeReadOnly(const std::string& path);

// A file held open as a running program holds its own executable: others may read it, but not
// write, replace or delete it, while this object lives.
class HeldFile {
 public:
  virtual ~HeldFile() = default;
};

// Holds the file at path open. Null where files cannot be held against deletion (the host:
// POSIX has no such locks), or when it cannot be opened.
std::unique_ptr<HeldFile> HoldOpen(const std::string& path);

// Makes a file of size bytes without writing them (sparse where the disk allows), for size limits.
bool MakeSizedFile(const std::string& path, uint64_t size);

}  // namespace setup::testing
