// Threads as the core needs them: the install run starts one worker, and the engine a pool that
// shares the install list's entries out.
#pragma once

#include <memory>

namespace setup {

// A lock with one condition to wait on, shared by threads that hand work to each other.
class ThreadLock {
 public:
  virtual ~ThreadLock() = default;
  virtual void Acquire() = 0;
  virtual void Release() = 0;
  // Called holding the lock: releases it, sleeps until a WakeAll (or for no reason: check again),
  // and holds it again on return.
  virtual void Wait() = 0;
  // Wakes every thread in Wait.
  virtual void WakeAll() = 0;
};

class Threads {
 public:
  virtual ~Threads() = default;
  // Starts routine(argument) on a new thread at once; its handle, or null if none could be started.
  virtual void* Start(void (*routine)(void* argument), void* argument) = 0;
  // Lets go of a handle from Start; the thread itself runs on.
  virtual void Close(void* thread) = 0;
  // Waits until the thread of a handle from Start has ended, then lets go of the handle.
  virtual void Join(void* thread) = 0;
  // The processors this process may run on; at least 1.
  virtual int ProcessorCount() = 0;
  // A new lock, or null when none can be made.
  virtual std::unique_ptr<ThreadLock> NewLock() = 0;
};

// Holds a lock for the life of a scope.
class LockHeld {
 public:
  explicit LockHeld(ThreadLock& lock) : lock_(lock) { lock_.Acquire(); }
  ~LockHeld() { lock_.Release(); }
  LockHeld(const LockHeld&) = delete;
  LockHeld& operator=(const LockHeld&) = delete;

 private:
  ThreadLock& lock_;
};

}  // namespace setup
