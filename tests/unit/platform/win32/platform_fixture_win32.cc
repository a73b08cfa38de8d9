#include "platform/platform_fixture.h"

#include <windows.h>

#include <utility>

#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_threads.h"

namespace setup::testing {

namespace {

// Deletes a folder tree, clearing read-only attributes on the way.
void RemoveTree(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring Wide(const std::string& path) {
  std::wstring wide;
  ToWide(path.c_str(), &wide);
  return wide;
}

// UTF-8 for keeping the current directory, which need not have a code page 932 form.
std::string Utf8(const std::wstring& wide) {
  int length = int(wide.size());
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(size_t(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &narrow[0], size, nullptr, nullptr);
  return narrow;
}

std::wstring FromUtf8(const std::string& narrow) {
  int size = MultiByteToWideChar(CP_UTF8, 0, narrow.data(), int(narrow.size()), nullptr, 0);
  std::wstring wide(size_t(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, narrow.data(), int(narrow.size()), &wide[0], size);
  return wide;
}

}  // namespace

// Tests hold files for good to see a run fail; the real five seconds of patience would only slow
// them down (HeldFileTest checks those).
std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<Win32FileSystem>(100); }

TempFolder::TempFolder() {
  static int count = 0;
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return;
  std::wstring temp(buffer, length);
  if (!temp.empty() && temp.back() == L'\\') temp.pop_back();
  std::wstring folder =
      temp + L"\\setup-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  std::string path;
  if (!FromWide(folder.c_str(), &path) || !CreateDirectoryW(folder.c_str(), nullptr)) return;
  path_ = path;
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring current(needed, L'\0');
  if (needed > 0 && GetCurrentDirectoryW(needed, &current[0]) == needed - 1) {
    current.resize(needed - 1);
    savedCurrent_ = Utf8(current);
  }
}

TempFolder::~TempFolder() {
  if (!savedCurrent_.empty()) SetCurrentDirectoryW(FromUtf8(savedCurrent_).c_str());
  if (ok()) RemoveTree(Wide(path_));
}

std::unique_ptr<Registry> MakeRegistry() { return std::make_unique<Win32Registry>(); }

std::unique_ptr<Threads> MakeThreads() { return std::make_unique<Win32Threads>(); }

TempRegistryPath::TempRegistryPath() {
  static int count = 0;
  std::string unique = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
  usersPath_ = ".Default\\Software\\SetupTests\\" + unique;
  currentUserPath_ = "Software\\SetupTests\\" + unique;
  localMachinePath_ = currentUserPath_;
}

TempRegistryPath::~TempRegistryPath() {
  const std::pair<HKEY, std::string> paths[] = {
      {HKEY_USERS, usersPath_}, {HKEY_CURRENT_USER, currentUserPath_}, {HKEY_LOCAL_MACHINE, localMachinePath_}};
  for (const auto& [root, path] : paths) {
    std::wstring wide = Wide(path);
    RegDeleteTreeW(root, wide.c_str());
    // The shared parent goes with the last test's key; RegDeleteKeyW refuses it while others remain.
    RegDeleteKeyW(root, wide.substr(0, wide.rfind(L'\\')).c_str());
  }
}

bool MakeReadOnly(const std::string& path) {
  std::wstring wide = Wide(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
}

namespace {

class Win32HeldFile : public HeldFile {
 public:
  explicit Win32HeldFile(HANDLE handle) : handle_(handle) {}

 private:
  ScopedHandle handle_;
};

}  // namespace

std::unique_ptr<HeldFile> HoldOpen(const std::string& path) {
  // Read sharing only, as the loader maps a running program: no writer, no rename, no delete.
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32HeldFile>(file);
}

bool MakeSizedFile(const std::string& path, uint64_t size) {
  std::wstring wide = Wide(path);
  ScopedHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file.valid()) return false;
  LARGE_INTEGER end;
  end.QuadPart = LONGLONG(size);
  const bool ok = SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
  return file.Close() && ok;
}

}  // namespace setup::testing
