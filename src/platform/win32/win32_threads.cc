#include "platform/win32/win32_threads.h"

#include <windows.h>
#include <process.h>

#include <new>

namespace setup {

namespace {

struct Launch {
  void (*routine)(void*);
  void* argument;
};

unsigned __stdcall ThreadMain(void* parameter) {
  Launch launch = *static_cast<Launch*>(parameter);
  delete static_cast<Launch*>(parameter);
  launch.routine(launch.argument);
  return 1;
}

}  // namespace

void* Win32Threads::Start(void (*routine)(void*), void* argument) {
  Launch* launch = new (std::nothrow) Launch{routine, argument};
  if (launch == nullptr) return nullptr;
  uintptr_t thread = _beginthreadex(nullptr, 0, ThreadMain, launch, 0, nullptr);
  if (thread == 0) {
    delete launch;
    return nullptr;
  }
  return reinterpret_cast<void*>(thread);
}

void Win32Threads::Close(void* thread) { CloseHandle(static_cast<HANDLE>(thread)); }

}  // namespace setup
