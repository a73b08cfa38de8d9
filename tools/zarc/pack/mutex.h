// The packer's lock, annotated so that clang's -Wthread-safety checks the fields it guards (the
// standard library's mutex carries no annotations).
#pragma once

#include <condition_variable>
#include <mutex>

#include "base/thread_annotations.h"

namespace zarc {

class CAPABILITY("mutex") Mutex {
 public:
  void lock() ACQUIRE() { mutex_.lock(); }
  void unlock() RELEASE() { mutex_.unlock(); }

  // Releases the lock until changed is notified (or wakes spuriously), then takes it again.
  void Wait(std::condition_variable_any& changed) REQUIRES(this) { changed.wait(*this); }

 private:
  std::mutex mutex_;
};

// Holds a Mutex for its scope; Unlock and Lock leave it for a stretch of work in the middle.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~MutexLock() RELEASE() {
    if (held_) mutex_.unlock();
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  void Unlock() RELEASE() {
    mutex_.unlock();
    held_ = false;
  }
  void Lock() ACQUIRE() {
    mutex_.lock();
    held_ = true;
  }

 private:
  Mutex& mutex_;
  bool held_ = true;
};

}  // namespace zarc
