#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <new>
#include <vector>

#include "base/text.h"

namespace setup {

namespace {

constexpr uint64_t kMaxWholeFile = 0xFFFFFFFFull;  // sizes must fit the 32-bit size out

int DriveIndex(char letter) {
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  return -1;
}

// Appends text with its separating '\'s turned into '/', leaving double-byte characters whole.
void AppendWithSlashes(const char* text, std::string* out) {
  for (const char* p = text; *p != '\0'; p = NextCp932Char(p)) {
    if (*p == '\\') {
      out->push_back('/');
    } else {
      out->append(p, Cp932CharLength(p));
    }
  }
}

// Windows treats a file without write permission as read-only. access() cannot tell (root may
// write anything), so the owner-write bit decides.
bool IsReadOnlyFile(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

std::string ParentFolder(const std::string& hostPath) {
  size_t cut = hostPath.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return hostPath.substr(0, cut);
}

std::string CurrentHostFolder() {
  std::vector<char> buffer(256);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
    if (errno != ERANGE || buffer.size() >= (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

// The folder with every link resolved, as getcwd reports it; "" for the host root.
bool RealFolder(const std::string& hostPath, std::string* real) {
  char* resolved = realpath(hostPath.empty() ? "/" : hostPath.c_str(), nullptr);
  if (resolved == nullptr) return false;
  *real = strcmp(resolved, "/") == 0 ? "" : resolved;
  free(resolved);
  return true;
}

class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) close(fd_);
  }

  bool Write(const void* data, uint32_t size) override {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
      if (fd_ < 0) return false;
      ssize_t written = write(fd_, bytes, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes += written;
      size -= uint32_t(written);
    }
    return fd_ >= 0;
  }

  bool Seek(uint64_t offset) override { return fd_ >= 0 && lseek(fd_, off_t(offset), SEEK_SET) >= 0; }

  uint64_t Position() override {
    off_t at = fd_ >= 0 ? lseek(fd_, 0, SEEK_CUR) : -1;
    return at < 0 ? 0 : uint64_t(at);
  }

  bool Close(bool sync) override {
    if (fd_ < 0) return false;
    bool synced = !sync || fsync(fd_) == 0;
    bool closed = close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
  }

 private:
  int fd_;
};

// Copies every byte of the open file from into the open file to, from the start of each.
bool CopyBytes(int from, int to) {
  constexpr size_t kChunk = 1 << 20;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kChunk]);
  if (buffer == nullptr) return false;
  for (;;) {
    ssize_t got = read(from, buffer.get(), kChunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = write(to, buffer.get() + done, size_t(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      done += put;
    }
  }
}

}  // namespace

void PosixFileSystem::MapDrive(char letter, const std::string& hostFolder) {
  int index = DriveIndex(letter);
  if (index < 0) return;
  std::string folder = hostFolder;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  mapped_[index] = true;
  driveFolders_[index] = folder;
}

bool PosixFileSystem::ToHostPath(const char* path, std::string* hostPath) const {
  hostPath->clear();
  int drive = path[0] != '\0' && path[1] == ':' ? DriveIndex(path[0]) : -1;
  if (drive < 0) {
    AppendWithSlashes(path, hostPath);
    return true;
  }
  const char* rest = path + 2;
  if (!mapped_[drive] || (rest[0] != '\0' && rest[0] != '\\' && rest[0] != '/')) return false;
  *hostPath = driveFolders_[drive];
  AppendWithSlashes(rest, hostPath);
  if (hostPath->empty()) *hostPath = "/";
  return true;
}

bool PosixFileSystem::ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) {
  *data = nullptr;
  *size = 0;
  std::string host;
  if (!ToHostPath(path, &host)) return false;
  FILE* file = fopen(host.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || uint64_t(info.st_size) > kMaxWholeFile) {
    fclose(file);
    return false;
  }
  size_t length = size_t(info.st_size);
  uint8_t* buffer = new (std::nothrow) uint8_t[length];
  bool ok = buffer != nullptr && fread(buffer, 1, length, file) == length;
  fclose(file);
  if (!ok) {
    delete[] buffer;
    return false;
  }
  *data = buffer;
  *size = uint32_t(length);
  return true;
}

bool PosixFileSystem::ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) {
  std::string host;
  if (!ToHostPath(path, &host)) return false;
  FILE* file = fopen(host.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat info;
  const bool regular = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
  const size_t read = regular ? fread(buffer, 1, capacity, file) : 0;
  const bool ok = regular && !ferror(file);
  fclose(file);
  *got = uint32_t(read);
  return ok;
}

bool PosixFileSystem::FileSize(const char* path, uint64_t* size) {
  std::string host;
  if (!ToHostPath(path, &host)) return false;
  int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  close(fd);
  if (ok) *size = uint64_t(info.st_size);
  return ok;
}

bool PosixFileSystem::ListFolder(const char* folder, FolderVisitor& visitor) {
  std::string host;
  if (!ToHostPath(folder, &host)) return false;
  DIR* dir = opendir(host.c_str());
  if (dir == nullptr) return false;
  std::string itemPath;
  for (;;) {
    errno = 0;
    struct dirent* entry = readdir(dir);
    if (entry == nullptr) break;
    const char* name = entry->d_name;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
    itemPath = host;
    if (itemPath.back() != '/') itemPath.push_back('/');
    itemPath += name;
    struct stat info;
    bool isFolder = lstat(itemPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    if (!visitor.Visit(FolderItem{name, isFolder})) {
      closedir(dir);
      return true;
    }
  }
  bool ok = errno == 0;
  closedir(dir);
  return ok;
}

bool PosixFileSystem::CurrentFolder(char* buffer, uint32_t capacity) {
  std::string host = CurrentHostFolder();
  if (host.empty()) return false;
  // The drive whose folder holds the current directory most closely, if any.
  int bestDrive = -1;
  size_t bestLength = 0;
  for (int drive = 0; drive < kDriveCount; ++drive) {
    if (!mapped_[drive]) continue;
    std::string root;
    if (!RealFolder(driveFolders_[drive], &root)) continue;
    bool inside = host.compare(0, root.size(), root) == 0 &&
                  (host.size() == root.size() || host[root.size()] == '/');
    if (inside && (bestDrive < 0 || root.size() > bestLength)) {
      bestDrive = drive;
      bestLength = root.size();
    }
  }
  std::string result;
  if (bestDrive < 0) {
    result = host;
  } else {
    result.push_back(char('A' + bestDrive));
    result.push_back(':');
    for (size_t i = bestLength; i < host.size(); ++i) result.push_back(host[i] == '/' ? '\\' : host[i]);
    if (result.size() == 2) result.push_back('\\');
  }
  return CopyText(buffer, capacity, result.c_str());
}

bool PosixFileSystem::ChangeFolder(const char* path) {
  std::string host;
  return ToHostPath(path, &host) && chdir(host.c_str()) == 0;
}

bool PosixFileSystem::MakeFolder(const char* path) {
  std::string host;
  return ToHostPath(path, &host) && mkdir(host.c_str(), 0777) == 0;
}

bool PosixFileSystem::RemoveEmptyFolder(const char* path) {
  std::string host;
  return ToHostPath(path, &host) && rmdir(host.c_str()) == 0;
}

bool PosixFileSystem::RemoveFile(const char* path) {
  std::string host;
  if (!ToHostPath(path, &host)) return false;
  struct stat info;
  if (lstat(host.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (IsReadOnlyFile(host)) return false;
  return unlink(host.c_str()) == 0;
}

std::unique_ptr<OutputFile> PosixFileSystem::OpenForWriting(const char* path, WriteMode mode) {
  std::string host;
  if (!ToHostPath(path, &host)) return nullptr;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
  if (mode == WriteMode::kNew) {
    flags |= O_EXCL;
  } else {
    if (IsReadOnlyFile(host)) return nullptr;
    flags |= O_TRUNC;
  }
  int fd = open(host.c_str(), flags, 0666);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixOutputFile>(fd);
}

bool PosixFileSystem::MoveOver(const char* from, const char* to) {
  std::string hostFrom, hostTo;
  if (!ToHostPath(from, &hostFrom) || !ToHostPath(to, &hostTo)) return false;
  if (IsReadOnlyFile(hostTo)) return false;
  if (rename(hostFrom.c_str(), hostTo.c_str()) != 0) return false;
  // The new name reaches the disk with its folder. The move has happened either way, so a failed
  // folder sync cannot be reported as "both left as they were".
  int folder = open(ParentFolder(hostTo).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

bool PosixFileSystem::CopyFileOver(const char* source, const char* destination) {
  std::string hostFrom, hostTo;
  if (!ToHostPath(source, &hostFrom) || !ToHostPath(destination, &hostTo)) return false;
  // O_NONBLOCK only keeps a pipe from blocking the open; it is then refused as not a file.
  int from = open(hostFrom.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (from < 0) return false;
  struct stat fromInfo;
  if (fstat(from, &fromInfo) != 0 || !S_ISREG(fromInfo.st_mode) || IsReadOnlyFile(hostTo)) {
    close(from);
    return false;
  }
  // Not truncated at open: when both names lead to one file, that would destroy the source.
  int to = open(hostTo.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, fromInfo.st_mode & 0777);
  struct stat toInfo;
  if (to < 0 || fstat(to, &toInfo) != 0 || !S_ISREG(toInfo.st_mode) ||
      (toInfo.st_dev == fromInfo.st_dev && toInfo.st_ino == fromInfo.st_ino)) {
    if (to >= 0) close(to);
    close(from);
    return false;
  }
  bool ok = ftruncate(to, 0) == 0 && CopyBytes(from, to) && fchmod(to, fromInfo.st_mode & 0777) == 0;
  ok = close(to) == 0 && ok;
  close(from);
  // A half-written copy must not pass for the file.
  if (!ok) unlink(hostTo.c_str());
  return ok;
}

bool PosixFileSystem::SetNormalAttributes(const char* path) {
  std::string host;
  struct stat info;
  return ToHostPath(path, &host) && lstat(host.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         chmod(host.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0;
}

bool PosixFileSystem::FreeBytes(const char* root, uint64_t* bytes) {
  std::string host;
  struct statvfs info;
  if (!ToHostPath(root, &host) || statvfs(host.c_str(), &info) != 0) return false;
  *bytes = uint64_t(info.f_bavail) * uint64_t(info.f_frsize);  // what an unprivileged user may use
  return true;
}

}  // namespace setup
