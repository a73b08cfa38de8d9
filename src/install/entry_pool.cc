#include "install/entry_pool.h"

#include <cstring>

#include "base/windows_path.h"
#include "install/progress.h"
#include "platform/file_system.h"
#include "platform/replacing_file.h"
#include "platform/threads.h"

namespace setup {

EntryPool::EntryPool(FileSystem& files, const PackageArchive& archive, RunProgress& progress, Threads* threads,
                     Unpack unpack)
    : files_(files), archive_(archive), progress_(progress), threads_(threads), unpack_(unpack) {}

void EntryPool::StartWorkers() {
  startTried_ = true;
  if (threads_ == nullptr) return;
  lock_ = threads_->NewLock();
  if (lock_ == nullptr) return;
  int wanted = threads_->ProcessorCount();
  if (wanted < 2) wanted = 2;
  if (wanted > kMaxWorkers) wanted = kMaxWorkers;
  while (workerCount_ < wanted && threads_->Start(WorkerMain, this, &workers_[workerCount_])) ++workerCount_;
}

EntryPool::~EntryPool() {
  if (workerCount_ == 0) return;
  Cancel();
  {
    LockHeld held(*lock_);
    stopping_ = true;
    lock_->WakeAll();
  }
  for (int i = 0; i < workerCount_; ++i) threads_->Join(workers_[i]);
}

void EntryPool::WorkerMain(void* pool) { static_cast<EntryPool*>(pool)->Work(); }

void EntryPool::Work() {
  MemoryStream buffer;  // written again for every entry: new memory costs a page fault a page
  LockHeld held(*lock_);
  for (;;) {
    // Strictly in list order, and only while the bytes allow; an entry too large to share them
    // waits until it can run alone.
    while (!stopping_ && !(next_ != queued_ && (bytesInFlight_ == 0 ||
                                                bytesInFlight_ + Slot(next_).bytes <= Allowance()))) {
      lock_->Wait();
    }
    if (stopping_) return;
    Job& job = Slot(next_++);
    job.state = kRunning;
    bytesInFlight_ += job.bytes;
    ++running_;
    lock_->Release();
    const bool ok = unpack_(archive_, files_, buffer, job.name, job.destination, job.beside);
    lock_->Acquire();
    bytesInFlight_ -= job.bytes;
    --running_;
    job.state = ok ? kSucceeded : kFailed;
    lock_->WakeAll();
  }
}

uint64_t EntryPool::Allowance() const {
  // Twice the largest entry keeps a package of small files as small in memory as its entries.
  return 2 * largestQueued_ < kBytesInFlight ? 2 * largestQueued_ : kBytesInFlight;
}

bool EntryPool::Overlaps(const char* destination) {
  for (uint32_t i = retired_; i != QueuedForRun(); ++i) {
    if (MayWindowsPathsOverlap(Slot(i).destination, destination)) return true;
  }
  return false;
}

bool EntryPool::Add(const char* name, const char* destination, uint64_t bytes) {
  if (failed_) return false;
  if (!startTried_) StartWorkers();
  if (workerCount_ == 0) {
    Job& job = jobs_[0];
    CopyText(job.destination, sizeof job.destination, destination);
    if (!unpack_(archive_, files_, ownBuffer_, name, job.destination, job.beside) || !Place(job)) {
      failed_ = true;
      return false;
    }
    progress_.Step(bytes);
    return true;
  }
  if (!Retire(Overlaps(destination))) return false;
  if (QueuedForRun() - retired_ == kSlots) {
    {
      LockHeld held(*lock_);
      while (Slot(retired_).state < kSucceeded) lock_->Wait();
    }
    if (!Retire(false)) return false;
  }
  LockHeld held(*lock_);
  Job& job = Slot(queued_);
  job.name = name;
  CopyText(job.destination, sizeof job.destination, destination);
  job.bytes = bytes;
  job.state = kQueued;
  if (bytes > largestQueued_) largestQueued_ = bytes;
  ++queued_;
  lock_->WakeAll();
  return true;
}

bool EntryPool::Finish() {
  if (failed_) return false;
  return workerCount_ == 0 || Retire(true);
}

bool EntryPool::Retire(bool wait) {
  for (;;) {
    State state;
    {
      LockHeld held(*lock_);
      if (retired_ == queued_) return true;
      while (wait && Slot(retired_).state < kSucceeded) lock_->Wait();
      state = Slot(retired_).state;
    }
    if (state == kSucceeded) {
      // Only the run's thread touches a finished entry, and in list order.
      if (!Place(Slot(retired_))) state = kFailed;
    }
    if (state == kFailed) {
      failed_ = true;
      Cancel();
      return false;
    }
    if (state != kSucceeded) return true;
    progress_.Step(Slot(retired_).bytes);
    ++retired_;
  }
}

bool EntryPool::Place(Job& job) {
  return job.beside[0] == '\0' || PlaceBeside(files_, job.beside, job.destination);
}

void EntryPool::Cancel() {
  {
    LockHeld held(*lock_);
    queued_ = next_;
    while (running_ > 0) lock_->Wait();
  }
  // The failed entry cleaned up after itself; the ones after it are undone, newest first, as if
  // never started. A file they wrote in place was not there before them.
  for (uint32_t i = QueuedForRun(); i-- > retired_ + 1;) {
    Job& job = Slot(i);
    if (job.state != kSucceeded) continue;
    files_.RemoveFile(job.beside[0] != '\0' ? job.beside : job.destination);
    job.state = kFailed;
  }
}

}  // namespace setup
