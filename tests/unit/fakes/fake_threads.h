// Threads that start nothing by themselves: the test runs the worker when it chooses, as the
// system would later, and sees which handles were joined.
#pragma once

#include <vector>

#include "platform/threads.h"

namespace setup::testing {

class DeferredThreads : public Threads {
 public:
  bool Start(void (*routine)(void*), void* argument, void** handle) override {
    *handle = &started;  // published before the routine can run, as the real ones do
    pending = routine;
    pendingArgument = argument;
    return true;
  }
  void Join(void* thread) override { joined.push_back(thread); }

  // Runs the started routine, if any, to its end.
  void RunWorker() {
    if (pending == nullptr) return;
    auto routine = pending;
    pending = nullptr;
    routine(pendingArgument);
  }

  void (*pending)(void*) = nullptr;
  void* pendingArgument = nullptr;
  int started = 0;  // its address is the handle
  std::vector<void*> joined;
};

}  // namespace setup::testing
