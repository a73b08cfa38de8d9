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

// The handle is the launch record; Close detaches the thread and frees it.
void* PosixThreads::Start(void (*routine)(void*), void* argument) {
  Launch* launch = new (std::nothrow) Launch{routine, argument, {}};
  if (launch == nullptr) return nullptr;
  if (pthread_create(&launch->thread, nullptr, ThreadMain, launch) != 0) {
    delete launch;
    return nullptr;
  }
  return launch;
}

void PosixThreads::Close(void* thread) {
  Launch* launch = static_cast<Launch*>(thread);
  pthread_detach(launch->thread);
  delete launch;
}

}  // namespace setup
