#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/text.h"
#include "install/shortcut_probe.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_shell.h"

namespace setup::testing {

namespace {

// The real Win32 shell with its special folders moved to test folders.
class RedirectedShell : public Win32Shell {
 public:
  RedirectedShell(const std::string& desktop, const std::string& programs) : desktop_(desktop), programs_(programs) {}
  bool SpecialFolderPath(void*, SpecialFolder folder, char* buffer, uint32_t capacity) override {
    const std::string& path = folder == SpecialFolder::kDesktop ? desktop_ : programs_;
    if (path.empty()) return false;
    return CopyText(buffer, capacity, path.c_str());
  }

 private:
  std::string desktop_;
  std::string programs_;
};

}  // namespace

std::unique_ptr<Shell> MakePlatformShell(const std::string& desktop, const std::string& programs) {
  return std::make_unique<RedirectedShell>(desktop, programs);
}

ShortcutRead ReadShortcut(const std::string& path, ShortcutFields* fields) {
  std::wstring widePath;
  if (!ToWide(path.c_str(), &widePath)) return ShortcutRead::kUnreadable;
  HRESULT initialised = CoInitialize(nullptr);
  if (FAILED(initialised)) return ShortcutRead::kNoReader;
  ShortcutRead result = ShortcutRead::kUnreadable;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(widePath.c_str(), STGM_READ))) {
    wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"";
    int show = -1;
    if (SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) && SUCCEEDED(link->GetShowCmd(&show)) &&
        FromWide(target, &fields->target) && FromWide(folder, &fields->workingDirectory)) {
      fields->showCommand = show;
      result = ShortcutRead::kRead;
    }
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return result;
}

bool ShellKeepsJapaneseTargets() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  bool wine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return !wine || GetACP() == 932;
}

}  // namespace setup::testing
