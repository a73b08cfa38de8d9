#include "platform/posix/posix_threads.h"

#include <pthread.h>

#include <new>

namespace setup {

namespace {

struct Launch {
  void (*routine)(void*);
  void* argument;
  pthread_t thread;
};

void* ThreadMain(void* parameter) {
  Launch* launch = static_cast<Launch*>(parameter);
  launch->routine(launch->argument);
  return nullptr;
}

}  // namespace

// The handle is the launch record, which exists before the thread does.
bool PosixThreads::Start(void (*routine)(void*), void* argument, void** handle) {
  Launch* launch = new (std::nothrow) Launch{routine, argument, {}};
  *handle = launch;
  if (launch == nullptr) return false;
  if (pthread_create(&launch->thread, nullptr, ThreadMain, launch) != 0) {
    *handle = nullptr;
    delete launch;
    return false;
  }
  return true;
}

void PosixThreads::Join(void* thread) {
  Launch* launch = static_cast<Launch*>(thread);
  pthread_join(launch->thread, nullptr);
  delete launch;
}

}  // namespace setup
