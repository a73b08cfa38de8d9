// Threads as the core needs them: the install run starts one worker, and the window that started
// it waits for it before it goes.
#pragma once

namespace setup {

class Threads {
 public:
  virtual ~Threads() = default;
  // Starts routine(argument) on a new thread. Its handle is stored in *handle before the routine
  // runs, so the routine and the starter see the same value. False, with *handle null, when no
  // thread could be started.
  virtual bool Start(void (*routine)(void* argument), void* argument, void** handle) = 0;
  // Waits until the thread has ended, then lets go of its handle.
  virtual void Join(void* thread) = 0;
};

}  // namespace setup
