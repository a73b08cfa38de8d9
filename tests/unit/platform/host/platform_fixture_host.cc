#include "platform/platform_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/memory/memory_registry.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_threads.h"

namespace setup::testing {

namespace {

// Deletes a host folder tree; links are removed, not followed.
void RemoveTree(const std::string& hostPath) {
  std::error_code ignored;
  std::filesystem::remove_all(hostPath, ignored);
}

// The host folder that stands for drive C: in this test process, removed at exit.
class DriveFolder {
 public:
  DriveFolder() {
    const char* tmp = getenv("TMPDIR");
    std::string base = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
    std::string pattern = base + "/setup-tests-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) path_ = buffer.data();
  }
  ~DriveFolder() {
    if (!path_.empty()) RemoveTree(path_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& DriveC() {
  static DriveFolder folder;
  return folder.path();
}

std::unique_ptr<PosixFileSystem> MakePosixFileSystem() {
  auto fs = std::make_unique<PosixFileSystem>();
  fs->MapDrive('C', DriveC());
  return fs;
}

bool HostPathOf(const std::string& path, std::string* hostPath) {
  return MakePosixFileSystem()->ToHostPath(path.c_str(), hostPath);
}

}  // namespace

std::unique_ptr<FileSystem> MakeFileSystem() { return MakePosixFileSystem(); }

TempFolder::TempFolder() {
  static int count = 0;
  if (DriveC().empty()) return;
  char* current = getcwd(nullptr, 0);
  if (current != nullptr) {
    savedCurrent_ = current;
    free(current);
  }
  std::string name = "t" + std::to_string(++count);
  if (mkdir((DriveC() + "/" + name).c_str(), 0777) == 0) path_ = "C:\\" + name;
}

TempFolder::~TempFolder() {
  if (!savedCurrent_.empty() && chdir(savedCurrent_.c_str()) != 0) {
    // Nowhere better to go; the folder is removed all the same.
  }
  std::string host;
  if (ok() && HostPathOf(path_, &host)) RemoveTree(host);
}

std::unique_ptr<Registry> MakeRegistry() { return std::make_unique<MemoryRegistry>(); }

std::unique_ptr<Threads> MakeThreads() { return std::make_unique<PosixThreads>(); }

TempRegistryPath::TempRegistryPath() {
  static int count = 0;
  std::string unique = std::to_string(getpid()) + "-" + std::to_string(++count);
  usersPath_ = ".Default\\Software\\SetupTests\\" + unique;
  currentUserPath_ = "Software\\SetupTests\\" + unique;
  localMachinePath_ = currentUserPath_;
}

TempRegistryPath::~TempRegistryPath() = default;

bool MakeReadOnly(const std::string& path) {
  std::string host;
  struct stat info;
  return HostPathOf(path, &host) && stat(host.c_str(), &info) == 0 &&
         chmod(host.c_str(), info.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::unique_ptr<HeldFile> HoldOpen(const std::string&) { return nullptr; }

bool MakeSizedFile(const std::string& path, uint64_t size) {
  std::string host;
  if (!HostPathOf(path, &host)) return false;
  FILE* file = fopen(host.c_str(), "wb");
  if (file == nullptr) return false;
  fclose(file);
  return truncate(host.c_str(), off_t(size)) == 0;
}

}  // namespace setup::testing
