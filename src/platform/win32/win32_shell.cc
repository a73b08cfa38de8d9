#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "base/text.h"
#include "platform/win32/wide_text.h"

namespace setup {

namespace {

// A component object interface, released when it goes.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;

  // Where a creating call puts the new interface.
  void** Receive() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// A shell item list, freed with the shell's allocator as soon as it goes.
class ScopedItemList {
 public:
  ScopedItemList() = default;
  ~ScopedItemList() { CoTaskMemFree(list_); }
  ScopedItemList(const ScopedItemList&) = delete;
  ScopedItemList& operator=(const ScopedItemList&) = delete;

  LPITEMIDLIST* Receive() { return &list_; }
  LPCITEMIDLIST get() const { return list_; }

 private:
  LPITEMIDLIST list_ = nullptr;
};

}  // namespace

bool Win32Shell::SpecialFolderPath(void* owner, SpecialFolder folder, char* buffer, uint32_t capacity) {
  if (capacity > 0) buffer[0] = '\0';
  int id = folder == SpecialFolder::kDesktop ? CSIDL_DESKTOP : CSIDL_PROGRAMS;
  ScopedItemList list;
  if (FAILED(SHGetSpecialFolderLocation(static_cast<HWND>(owner), id, list.Receive())) || list.get() == nullptr) {
    return false;
  }
  wchar_t wide[MAX_PATH];
  std::string path;
  return SHGetPathFromIDListW(list.get(), wide) && FromWide(wide, &path) && !path.empty() &&
         CopyText(buffer, capacity, path.c_str());
}

int32_t Win32Shell::BeginComponents() { return CoInitialize(nullptr); }

void Win32Shell::EndComponents() { CoUninitialize(); }

int32_t Win32Shell::WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                                  int showCommand) {
  std::wstring wideLink, wideTarget, wideFolder;
  if (!ToWide(linkPath, &wideLink) || !ToWide(target, &wideTarget) || !ToWide(workingDirectory, &wideFolder)) {
    return E_INVALIDARG;
  }
  ComPointer<IShellLinkW> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.Receive());
  if (FAILED(result)) return result;
  ComPointer<IPersistFile> file;
  result = link->QueryInterface(IID_IPersistFile, file.Receive());
  if (FAILED(result)) return result;
  // A new shell-link object has no description, arguments or icon: only these three are set.
  link->SetPath(wideTarget.c_str());
  link->SetWorkingDirectory(wideFolder.c_str());
  link->SetShowCmd(showCommand);
  return file->Save(wideLink.c_str(), TRUE);
}

bool Win32Shell::Open(void* owner, const char* path) {
  std::wstring widePath;
  if (!ToWide(path, &widePath)) return false;
  HINSTANCE result = ShellExecuteW(static_cast<HWND>(owner), L"open", widePath.c_str(), nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;  // larger than 32 means started
}

}  // namespace setup
