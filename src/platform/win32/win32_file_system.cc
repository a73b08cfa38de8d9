#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <atomic>
#include <new>

#include "base/text.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace setup {

namespace {

constexpr uint64_t kMaxWholeFile = 0xFFFFFFFFull;  // sizes must fit the 32-bit size out

HANDLE OpenExisting(const WideText& path, DWORD access) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(HANDLE handle) : file_(handle) {}

  bool Write(const void* data, uint32_t size) override {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
      DWORD written = 0;
      if (!file_.valid() || !WriteFile(file_.get(), bytes, size, &written, nullptr) || written == 0) {
        return false;
      }
      bytes += written;
      size -= written;
    }
    return file_.valid();
  }

  bool Seek(uint64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = LONGLONG(offset);
    return file_.valid() && SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN) != 0;
  }

  uint64_t Position() override {
    LARGE_INTEGER zero{}, at{};
    if (!file_.valid() || !SetFilePointerEx(file_.get(), zero, &at, FILE_CURRENT)) return 0;
    return uint64_t(at.QuadPart);
  }

  bool Close(bool sync) override {
    if (!file_.valid()) return false;
    bool flushed = !sync || FlushFileBuffers(file_.get()) != 0;
    return file_.Close() && flushed;
  }

 private:
  ScopedHandle file_;
};

// Windows itself refuses to overwrite or replace a read-only file; Wine run as root does not, so
// the check is made here too, and the program behaves the same under both.
bool IsReadOnlyFile(const WideText& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A symbolic link or junction; other reparse points (cloud files, dedup) are the items themselves.
bool IsLink(const WIN32_FIND_DATAW& found) {
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Virus scanners and indexers open a fresh file for a moment: while they hold it, replacing,
// moving or deleting it fails with one of these. Any other error is final at once.
bool IsBusy(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

// The wait for a file at path: none for a folder or a read-only file, which refuse with "access
// denied" for good.
uint32_t BusyLimitFor(const WideText& path, uint32_t limit) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool final = attributes != INVALID_FILE_ATTRIBUTES &&
                     (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
  return final ? 0 : limit;
}

// Takes up to *pause milliseconds from what is left of budget; false when nothing is.
bool TakeFromBudget(std::atomic<uint32_t>* budget, DWORD* pause) {
  uint32_t left = budget->load();
  uint32_t taken;
  do {
    if (left == 0) return false;
    taken = left < *pause ? left : uint32_t(*pause);
  } while (!budget->compare_exchange_weak(left, left - taken));
  *pause = taken;
  return true;
}

// Calls attempt until it succeeds, fails for another reason than a busy file, or limit
// milliseconds have passed (for a target, BusyLimitFor it: asked only once an attempt has failed,
// as most never do); the waits start short and grow. "Access denied" is also what a file
// refused for good gives (a running program, rights that deny it, a hidden file written over):
// its waits come out of deniedBudget, which every file of the run shares, so that many such files
// cost the run one limit, not one each. Each success refills it: a file refused for good must
// not leave a later file's brief hold without a wait. The last error is attempt's own.
// Out of line, as every change to a file goes through it and the program's size counts.
__attribute__((noinline)) bool RetryAttempts(uint32_t limit, const WideText* target,
                                             std::atomic<uint32_t>* deniedBudget, bool (*tryOnce)(void*),
                                             void* context) {
  auto attempt = [&] { return tryOnce(context); };
  const uint32_t full = limit;
  const ULONGLONG start = GetTickCount64();
  DWORD wait = 10;
  for (;;) {
    if (attempt()) {
      deniedBudget->store(full, std::memory_order_relaxed);
      return true;
    }
    const DWORD error = GetLastError();
    if (target != nullptr) {
      limit = BusyLimitFor(*target, limit);
      target = nullptr;
    }
    const ULONGLONG waited = GetTickCount64() - start;
    DWORD pause = DWORD(waited + wait > limit ? limit - waited : wait);
    if (!IsBusy(error) || waited >= limit ||
        (error == ERROR_ACCESS_DENIED && !TakeFromBudget(deniedBudget, &pause))) {
      SetLastError(error);
      return false;
    }
    Sleep(pause);
    if (wait < 500) wait *= 2;
  }
}

template <typename Attempt>
bool RetryWhileBusy(uint32_t limit, const WideText* target, std::atomic<uint32_t>* deniedBudget, Attempt attempt) {
  return RetryAttempts(limit, target, deniedBudget, [](void* a) -> bool { return (*static_cast<Attempt*>(a))(); }, &attempt);
}

}  // namespace

bool Win32FileSystem::ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) {
  *data = nullptr;
  *size = 0;
  WideText widePath;
  if (!ToWide(path, &widePath)) return false;
  ScopedHandle file(OpenExisting(widePath, GENERIC_READ));
  LARGE_INTEGER length;
  if (!file.valid() || !GetFileSizeEx(file.get(), &length) || uint64_t(length.QuadPart) > kMaxWholeFile) {
    return false;
  }
  DWORD total = DWORD(length.QuadPart);
  uint8_t* buffer = new (std::nothrow) uint8_t[total];
  if (buffer == nullptr) return false;
  for (DWORD done = 0; done < total;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer + done, total - done, &got, nullptr) || got == 0) {
      delete[] buffer;
      return false;
    }
    done += got;
  }
  *data = buffer;
  *size = total;
  return true;
}

bool Win32FileSystem::ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) {
  *got = 0;
  WideText widePath;
  if (!ToWide(path, &widePath)) return false;
  ScopedHandle file(OpenExisting(widePath, GENERIC_READ));
  if (!file.valid()) return false;
  while (*got < capacity) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer + *got, capacity - *got, &read, nullptr)) return false;
    if (read == 0) break;
    *got += read;
  }
  return true;
}

bool Win32FileSystem::FileSize(const char* path, uint64_t* size) {
  WideText widePath;
  if (!ToWide(path, &widePath)) return false;
  ScopedHandle file(OpenExisting(widePath, FILE_READ_ATTRIBUTES));
  LARGE_INTEGER length;
  if (!file.valid() || !GetFileSizeEx(file.get(), &length)) return false;
  *size = uint64_t(length.QuadPart);
  return true;
}

bool Win32FileSystem::ListFolder(const char* folder, FolderVisitor& visitor) {
  WideText pattern;
  if (!ToWide(folder, &pattern) || pattern.empty()) return false;
  // "C:" lists the root.
  if (pattern.back() != L'\\' && pattern.back() != L'/' && !pattern.Append(L"\\", 1)) return false;
  if (!pattern.Append(L"*", 1)) return false;
  WIN32_FIND_DATAW found;
  ScopedFind search(FindFirstFileW(pattern.c_str(), &found));
  // An empty drive root has not even "." and "..": nothing found there is an empty listing.
  if (!search.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
  NarrowText name;
  do {
    if (IsDotName(found.cFileName) || !FromWide(found.cFileName, &name)) continue;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(found);
    if (!visitor.Visit(FolderItem{name.c_str(), isFolder})) return true;
  } while (FindNextFileW(search.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool Win32FileSystem::CurrentFolder(char* buffer, uint32_t capacity) {
  DWORD needed = GetCurrentDirectoryW(0, nullptr);  // with the NUL
  if (needed == 0) return false;
  WideText wide;
  if (!wide.Resize(needed)) return false;
  DWORD length = GetCurrentDirectoryW(needed, wide.data());
  if (length == 0 || length >= needed) return false;
  wide.Resize(length);
  NarrowText current;
  return FromWide(wide.c_str(), &current) && CopyText(buffer, capacity, current.c_str());
}

bool Win32FileSystem::ChangeFolder(const char* path) {
  WideText widePath;
  return ToWide(path, &widePath) && SetCurrentDirectoryW(widePath.c_str());
}

bool Win32FileSystem::MakeFolder(const char* path) {
  WideText widePath;
  return ToWide(path, &widePath) && CreateDirectoryW(widePath.c_str(), nullptr);
}

bool Win32FileSystem::RemoveEmptyFolder(const char* path) {
  WideText widePath;
  return ToWide(path, &widePath) &&
         RetryWhileBusy(busyLimit_, nullptr, &deniedBudget_, [&] { return RemoveDirectoryW(widePath.c_str()) != 0; });
}

bool Win32FileSystem::RemoveFile(const char* path) {
  WideText widePath;
  return ToWide(path, &widePath) &&
         RetryWhileBusy(busyLimit_, &widePath, &deniedBudget_,
                        [&] { return DeleteFileW(widePath.c_str()) != 0; });
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenForWriting(const char* path, WriteMode mode) {
  WideText widePath;
  if (!ToWide(path, &widePath) || (mode == WriteMode::kReplace && IsReadOnlyFile(widePath))) return nullptr;
  DWORD disposition = mode == WriteMode::kNew ? CREATE_NEW : CREATE_ALWAYS;
  HANDLE file = INVALID_HANDLE_VALUE;
  RetryWhileBusy(busyLimit_, &widePath, &deniedBudget_, [&] {
    file = CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  ScopedHandle owned(file);
  std::unique_ptr<OutputFile> output(new (std::nothrow) Win32OutputFile(owned.get()));
  if (output != nullptr) owned.Release();
  return output;
}

bool Win32FileSystem::MoveOver(const char* from, const char* to) {
  WideText wideFrom, wideTo;
  return ToWide(from, &wideFrom) && ToWide(to, &wideTo) && !IsReadOnlyFile(wideTo) &&
         RetryWhileBusy(busyLimit_, &wideTo, &deniedBudget_, [&] {
           return MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
         });
}

bool Win32FileSystem::CopyFileOver(const char* source, const char* destination) {
  WideText wideFrom, wideTo;
  return ToWide(source, &wideFrom) && ToWide(destination, &wideTo) && !IsReadOnlyFile(wideTo) &&
         RetryWhileBusy(busyLimit_, &wideTo, &deniedBudget_,
                        [&] { return CopyFileW(wideFrom.c_str(), wideTo.c_str(), FALSE) != 0; });
}

bool Win32FileSystem::HeldByAnother(const char* path) {
  WideText widePath;
  if (!ToWide(path, &widePath)) return false;
  HANDLE file = INVALID_HANDLE_VALUE;
  const bool opened = RetryWhileBusy(busyLimit_, &widePath, &deniedBudget_, [&] {
    file = CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  if (opened) {
    ScopedHandle owned(file);
    return false;
  }
  // Missing, read-only or denied are for the run to meet; only a hold names a program.
  const DWORD error = GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool Win32FileSystem::SetNormalAttributes(const char* path) {
  WideText widePath;
  return ToWide(path, &widePath) && SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

using FreeSpaceExQuery = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

bool Win32FileSystem::FreeBytes(const char* root, uint64_t* bytes) {
  WideText wideRoot;
  if (!ToWide(root, &wideRoot)) return false;
  // Looked up at each call: systems without the newer query still measure through the older one.
  ScopedLibrary kernel(L"KERNEL32.DLL");
  FARPROC found = kernel.get() != nullptr ? GetProcAddress(kernel.get(), "GetDiskFreeSpaceExW") : nullptr;
  if (found != nullptr) {
    auto query = reinterpret_cast<FreeSpaceExQuery>(reinterpret_cast<void (*)()>(found));
    ULARGE_INTEGER available;
    if (!query(wideRoot.c_str(), &available, nullptr, nullptr)) return false;
    *bytes = available.QuadPart;
    return true;
  }
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(wideRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
    return false;
  }
  // In 64 bits: a 32-bit product would read 4 GiB or more free as far less, or as negative.
  *bytes = uint64_t(sectorsPerCluster) * bytesPerSector * freeClusters;
  return true;
}

}  // namespace setup
