#include "platform/win32/win32_programs_in_use.h"

#include <windows.h>
#include <restartmanager.h>

#include <cstring>
#include <new>

#include "base/text.h"
#include "platform/win32/wide_text.h"

namespace setup {

namespace {

using StartSession = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
using RegisterResources = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
using EndSession = DWORD(WINAPI*)(DWORD);

template <typename Function>
Function As(void* address) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

constexpr int kGroup = kProgramsInUseGroup;
constexpr UINT kNamed = 8;  // programs named at most; with more, the held file is named instead

}  // namespace

// The library stays loaded for the rest of the process, as the system's own DLLs do.
Win32ProgramsInUse::~Win32ProgramsInUse() { End(); }

bool Win32ProgramsInUse::Load() {
  if (library_ != nullptr) return start_ != nullptr;
  // From the system folder alone: a DLL of that name in the program's folder (downloads) is never
  // taken. A system that cannot restrict the search this way goes without the service.
  HMODULE library = LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr) return false;
  library_ = library;
  start_ = reinterpret_cast<void*>(GetProcAddress(library, "RmStartSession"));
  add_ = reinterpret_cast<void*>(GetProcAddress(library, "RmRegisterResources"));
  list_ = reinterpret_cast<void*>(GetProcAddress(library, "RmGetList"));
  end_ = reinterpret_cast<void*>(GetProcAddress(library, "RmEndSession"));
  if (add_ == nullptr || list_ == nullptr || end_ == nullptr) start_ = nullptr;
  return start_ != nullptr;
}

bool Win32ProgramsInUse::Begin() {
  End();
  if (!Load()) return false;
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (As<StartSession>(start_)(&session, 0, key) != ERROR_SUCCESS) return false;
  session_ = session;
  open_ = true;
  return true;
}

bool Win32ProgramsInUse::Add(const char* const* paths, int count) {
  if (!open_ || count <= 0 || count > kGroup) return false;
  WideText wide[kGroup];
  LPCWSTR names[kGroup];
  int converted = 0;
  for (int i = 0; i < count; ++i) {
    if (!ToWide(paths[i], &wide[converted])) continue;
    names[converted] = wide[converted].c_str();
    ++converted;
  }
  return converted > 0 && As<RegisterResources>(add_)(session_, UINT(converted), names, 0, nullptr, 0, nullptr) ==
                              ERROR_SUCCESS;
}

int Win32ProgramsInUse::Holders(char* names, size_t capacity) {
  if (capacity > 0) names[0] = '\0';
  if (!open_) return 0;
  UINT needed = 0, count = kNamed;
  DWORD reasons = 0;
  int programs = 0;
  RM_PROCESS_INFO* found = new (std::nothrow) RM_PROCESS_INFO[kNamed];
  if (found != nullptr && As<GetList>(list_)(session_, &needed, &count, found, &reasons) == ERROR_SUCCESS) {
    size_t used = 0;
    for (UINT i = 0; i < count && used < capacity; ++i) {
      NarrowText name;
      if (!FromWide(found[i].strAppName, &name) || name.size() == 0) continue;
      const int length = FormatText(names + used, capacity - used, used == 0 ? "%s" : "\n%s", name.c_str());
      if (length > 0) used += size_t(length);
      ++programs;
    }
  }
  delete[] found;
  End();
  return programs;
}

void Win32ProgramsInUse::End() {
  if (!open_) return;
  As<EndSession>(end_)(session_);
  open_ = false;
}

}  // namespace setup
