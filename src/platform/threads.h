// Threads as the core needs them: the install run starts one worker, and the window that started
// it waits for it before it goes; the engine starts a pool that shares the install list's entries
// out.
#pragma once

#include <memory>

#include "base/thread_annotations.h"

namespace setup {

// A lock with one condition to wait on, shared by threads that hand work to each other.
class CAPABILITY("mutex") ThreadLock {
 public:
  virtual ~ThreadLock() = default;
  virtual void Acquire() ACQUIRE() = 0;
  virtual void Release() RELEASE() = 0;
  // Called holding the lock: releases it, sleeps until a WakeAll (or for no reason: check again),
  // and holds it again on return.
  virtual void Wait() REQUIRES(this) = 0;
  // Wakes every thread in Wait.
  virtual void WakeAll() = 0;
};

class Threads {
 public:
  virtual ~Threads() = default;
  // Starts routine(argument) on a new thread. Its handle is stored in *handle before the routine
  // runs, so the routine and the starter see the same value. False, with *handle null, when no
  // thread could be started.
  virtual bool Start(void (*routine)(void* argument), void* argument, void** handle) = 0;
  // Waits until the thread has ended, then lets go of its handle.
  virtual void Join(void* thread) = 0;
  // The processors this process may run on; at least 1.
  virtual int ProcessorCount() = 0;
  // A new lock, or null when none can be made.
  virtual std::unique_ptr<ThreadLock> NewLock() = 0;
};

// Holds a lock for the life of a scope.
class SCOPED_CAPABILITY LockHeld {
 public:
  explicit LockHeld(ThreadLock& lock) ACQUIRE(lock) : lock_(lock) { lock_.Acquire(); }
  ~LockHeld() RELEASE() { lock_.Release(); }
  LockHeld(const LockHeld&) = delete;
  LockHeld& operator=(const LockHeld&) = delete;

 private:
  ThreadLock& lock_;
};

}  // namespace setup
