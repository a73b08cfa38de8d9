// Threads on Windows, started through the C runtime so that it is ready on the new thread.
#pragma once

#include "platform/threads.h"

namespace setup {

class Win32Threads : public Threads {
 public:
  bool Start(void (*routine)(void* argument), void* argument, void** handle) override;
  void Join(void* thread) override;
  int ProcessorCount() override;
  std::unique_ptr<ThreadLock> NewLock() override;
};

}  // namespace setup
