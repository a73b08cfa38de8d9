// Threads on POSIX: a detached pthread per start.
#pragma once

#include "platform/threads.h"

namespace setup {

class PosixThreads : public Threads {
 public:
  void* Start(void (*routine)(void* argument), void* argument) override;
  void Close(void* thread) override;
  void Join(void* thread) override;
  int ProcessorCount() override;
  std::unique_ptr<ThreadLock> NewLock() override;
};

}  // namespace setup
