#include "platform/posix/posix_threads.h"

#include <pthread.h>
#include <unistd.h>

#include <new>

namespace setup {

namespace {

struct Launch {
  void (*routine)(void*);
  void* argument;
  pthread_t thread;
};

class PosixLock : public ThreadLock {
 public:
  PosixLock() {
    pthread_mutex_init(&mutex_, nullptr);
    pthread_cond_init(&condition_, nullptr);
  }
  ~PosixLock() override {
    pthread_cond_destroy(&condition_);
    pthread_mutex_destroy(&mutex_);
  }
  void Acquire() override { pthread_mutex_lock(&mutex_); }
  void Release() override { pthread_mutex_unlock(&mutex_); }
  void Wait() override { pthread_cond_wait(&condition_, &mutex_); }
  void WakeAll() override { pthread_cond_broadcast(&condition_); }

 private:
  pthread_mutex_t mutex_;
  pthread_cond_t condition_;
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

int PosixThreads::ProcessorCount() {
  long count = sysconf(_SC_NPROCESSORS_ONLN);
  return count < 1 ? 1 : count > 1024 ? 1024 : int(count);
}

std::unique_ptr<ThreadLock> PosixThreads::NewLock() { return std::unique_ptr<ThreadLock>(new (std::nothrow) PosixLock); }

}  // namespace setup
