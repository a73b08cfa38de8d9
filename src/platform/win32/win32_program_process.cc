#include "platform/win32/win32_program_process.h"

#include <windows.h>

#include <cstring>

#include "base/text.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace setup {

namespace {

constexpr DWORD kLongPath = 1024;

bool OwnPath(wchar_t (&path)[kLongPath]) {
  const DWORD length = GetModuleFileNameW(nullptr, path, kLongPath);
  return length > 0 && length < kLongPath;
}

}  // namespace

bool Win32ProgramProcess::TakeLock(const char* name) {
  WideText wide;
  if (!ToWide(name, &wide)) return true;  // no lock to take: nothing to refuse for
  // Held by the process until it ends; the system closes it then.
  HANDLE lock = CreateMutexW(nullptr, FALSE, wide.c_str());
  return lock == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool Win32ProgramProcess::ProgramPath(char* buffer, uint32_t capacity) {
  wchar_t path[kLongPath];
  NarrowText narrow;
  return OwnPath(path) && FromWide(path, &narrow) && CopyText(buffer, capacity, narrow.c_str());
}

bool Win32ProgramProcess::RunCopy(const char* argument, uint32_t* exitCode) {
  wchar_t own[kLongPath], folder[kLongPath], copy[kLongPath];
  const DWORD tempLength = GetTempPathW(MAX_PATH + 1, folder);
  WideText wideArgument;
  if (!OwnPath(own) || tempLength == 0 || tempLength > MAX_PATH || !ToWide(argument, &wideArgument)) return false;
  // A folder that did not exist before: nothing anyone put there beforehand can be in it.
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  uint32_t seed = uint32_t(counter.QuadPart) ^ (GetCurrentProcessId() << 16) ^ GetTickCount();
  bool made = false;
  for (int attempt = 0; attempt < 100 && !made; ++attempt) {
    seed = seed * 1103515245u + 12345u;
    wsprintfW(folder + tempLength, L"zu%08x", seed);
    made = CreateDirectoryW(folder, nullptr) != 0;
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  const wchar_t* name = wcsrchr(own, L'\\');
  if (!made || name == nullptr || wcslen(folder) + wcslen(name) >= kLongPath) return false;
  wcscpy(copy, folder);
  wcscat(copy, name);
  WideText commandLine;
  if (!CopyFileW(own, copy, TRUE) || !commandLine.Append(L"\"", 1) || !commandLine.Append(copy, wcslen(copy)) ||
      !commandLine.Append(L"\" ", 2) || !commandLine.Append(wideArgument.c_str(), wideArgument.size())) {
    return false;
  }
  // Neither process may keep the install folder as its current folder: it could not be removed.
  SetCurrentDirectoryW(folder);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started;
  if (!CreateProcessW(copy, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &started)) {
    return false;
  }
  ScopedHandle process(started.hProcess), thread(started.hThread);
  DWORD code = 0;
  if (WaitForSingleObject(started.hProcess, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(started.hProcess, &code)) {
    return false;
  }
  *exitCode = code;
  return true;
}

bool Win32ProgramProcess::RemoveAtRestart(const char* path) {
  WideText wide;
  return ToWide(path, &wide) && MoveFileExW(wide.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

bool Win32ProgramProcess::Today(char (&date)[9]) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FormatText(date, sizeof date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay) == 8;
}

}  // namespace setup
