// Stands in for a DLL that someone left beside setup.exe or in its current directory. If it is
// ever loaded, its code runs: it leaves "<its own path>.ran" behind, which the scenarios look for.
// No C run-time: a copy may be planted under the run-time's own name.
#include <windows.h>

BOOL WINAPI PlantedEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8];
  DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  const wchar_t suffix[] = L".ran";
  for (DWORD i = 0; i < sizeof suffix / sizeof suffix[0]; ++i) path[length + i] = suffix[i];
  HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}
