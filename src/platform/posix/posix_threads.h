// Threads on POSIX: a pthread per start, joined by its starter.
#pragma once

#include "platform/threads.h"

namespace setup {

class PosixThreads : public Threads {
 public:
  bool Start(void (*routine)(void* argument), void* argument, void** handle) override;
  void Join(void* thread) override;
  int ProcessorCount() override;
  std::unique_ptr<ThreadLock> NewLock() override;
};

}  // namespace setup
