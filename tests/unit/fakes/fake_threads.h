// Threads that start no install run or version-up by themselves: the test runs the worker when it chooses, as
// the system would later, and sees which handles were joined. The install engine's pool, which the
// worker starts, gets the platform's own threads, so its workers run beside each other as in the
// program.
#pragma once

#include <memory>
#include <vector>

#include "app/flows.h"
#include "app/install_run.h"
#include "platform/platform_fixture.h"
#include "platform/threads.h"

namespace setup::testing {

class DeferredThreads : public Threads {
 public:
  bool Start(void (*routine)(void*), void* argument, void** handle) override {
    if (routine != RunInstall && routine != RunVersionUp) return real_->Start(routine, argument, handle);
    *handle = &started;  // published before the routine can run, as the real ones do
    pending = routine;
    pendingArgument = argument;
    return true;
  }
  void Join(void* thread) override {
    if (thread == &started) {
      joined.push_back(thread);
    } else {
      real_->Join(thread);
    }
  }
  int ProcessorCount() override { return real_->ProcessorCount(); }
  std::unique_ptr<ThreadLock> NewLock() override { return real_->NewLock(); }

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

 private:
  std::unique_ptr<Threads> real_ = MakeThreads();
};

}  // namespace setup::testing
