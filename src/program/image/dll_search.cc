// Where setup.exe takes its DLLs from. It runs elevated from a downloads folder, where anyone's
// files lie beside it: a DLL found there under a system DLL's name would run with full rights.
// docs/security.md explains which measure holds on which Windows; load_config.c holds the other.
#include <windows.h>

#include "program/image/dll_search.h"

namespace setup {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

bool RestrictDllSearchToSystemFolder() {
  // Present from Windows 8 on, and on Windows 7 with its 2011 loader update: looked up, so that
  // the program still starts without it.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  if (found != nullptr) {
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
    if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  }
  // Without it the current directory at least leaves the search; the program's folder cannot.
  SetDllDirectoryW(L"");
  return false;
}

}  // namespace setup
