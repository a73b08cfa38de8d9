// Threads as the core needs them: the install run starts one worker.
#pragma once

namespace setup {

class Threads {
 public:
  virtual ~Threads() = default;
  // Starts routine(argument) on a new thread at once; its handle, or null if none could be started.
  virtual void* Start(void (*routine)(void* argument), void* argument) = 0;
  // Lets go of a handle from Start; the thread itself runs on.
  virtual void Close(void* thread) = 0;
};

}  // namespace setup
