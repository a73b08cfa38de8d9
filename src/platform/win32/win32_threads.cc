#include "platform/win32/win32_threads.h"

#include <windows.h>
#include <process.h>

#include <new>

#include "platform/win32/scoped_handles.h"

namespace setup {

namespace {

struct Launch {
  void (*routine)(void*);
  void* argument;
};

class Win32Lock : public ThreadLock {
 public:
  void Acquire() override { AcquireSRWLockExclusive(&lock_); }
  void Release() override { ReleaseSRWLockExclusive(&lock_); }
  void Wait() override { SleepConditionVariableSRW(&condition_, &lock_, INFINITE, 0); }
  void WakeAll() override { WakeAllConditionVariable(&condition_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

unsigned __stdcall ThreadMain(void* parameter) {
  Launch launch = *static_cast<Launch*>(parameter);
  delete static_cast<Launch*>(parameter);
  launch.routine(launch.argument);
  return 1;
}

}  // namespace

// Created suspended, so the handle is stored before the routine can run.
bool Win32Threads::Start(void (*routine)(void*), void* argument, void** handle) {
  *handle = nullptr;
  Launch* launch = new (std::nothrow) Launch{routine, argument};
  if (launch == nullptr) return false;
  uintptr_t thread = _beginthreadex(nullptr, 0, ThreadMain, launch, CREATE_SUSPENDED, nullptr);
  if (thread == 0) {
    delete launch;
    return false;
  }
  *handle = reinterpret_cast<void*>(thread);
  if (ResumeThread(reinterpret_cast<HANDLE>(thread)) == DWORD(-1)) {
    // Never ran: ending it is safe, and the launch record is still ours.
    ScopedHandle unstarted(reinterpret_cast<HANDLE>(thread));
    TerminateThread(unstarted.get(), 0);
    delete launch;
    *handle = nullptr;
    return false;
  }
  return true;
}

void Win32Threads::Join(void* thread) {
  ScopedHandle ended(static_cast<HANDLE>(thread));
  WaitForSingleObject(ended.get(), INFINITE);
}

int Win32Threads::ProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors == 0 ? 1 : int(info.dwNumberOfProcessors);
}

std::unique_ptr<ThreadLock> Win32Threads::NewLock() { return std::unique_ptr<ThreadLock>(new (std::nothrow) Win32Lock); }

}  // namespace setup
