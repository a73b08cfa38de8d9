// Package entries unpacked and written by a pool of worker threads while the install run walks its
// list. The run queues each entry and retires them in list order, so progress, the first failure,
// the order against the list's other actions and what a failed run leaves in the folder stay as if
// one thread did everything.
#pragma once

#include <cstdint>
#include <memory>

#include "archive/memory_stream.h"
#include "base/text.h"
#include "base/thread_annotations.h"
#include "platform/threads.h"

namespace setup {

class FileSystem;
class PackageArchive;
class RunProgress;

class EntryPool {
 public:
  // Unpacks the package entry name into the file destination when none is there, or else into a
  // new file beside it named in beside[kPathCapacity] (empty otherwise), through buffer, which is
  // the worker's own from one entry to the next. False on any failure, leaving nothing of its own
  // behind.
  using Unpack = bool (*)(const PackageArchive& archive, FileSystem& files, MemoryStream& buffer, const char* name,
                          const char* destination, char* beside);

  // The entries' bytes the workers may hold at once: at most this, and at most twice the largest
  // entry queued so far; an entry that does not fit beside the others is unpacked alone.
  static constexpr uint64_t kBytesInFlight = 32ull << 20;
  static constexpr int kMaxWorkers = 8;
  static constexpr int kSlots = 32;  // entries queued ahead of the oldest unfinished one

  // With the first entry, starts one worker per processor (at least 2, for the waits on the disk;
  // at most kMaxWorkers). Without threads, or when none can be started, Add does the work itself.
  EntryPool(FileSystem& files, const PackageArchive& archive, RunProgress& progress, Threads* threads, Unpack unpack);
  // Lets the entries under way finish, drops the rest, and waits for the workers to end.
  ~EntryPool();
  EntryPool(const EntryPool&) = delete;
  EntryPool& operator=(const EntryPool&) = delete;

  int workers() const { return workerCount_; }

  // Queues an entry of that many bytes for destination, after the ones queued before it. Only the
  // name's pointer is kept: the text must outlive the entry (until Finish, or the pool's end).
  // Entries finished by now are retired first: each one written beside its file is moved into
  // its place, and the progress advances. Waits for every queued entry first when destination is
  // one of theirs, or one of their temporary names, or a folder around one. False once an entry
  // has failed (or could not be moved into place): then nothing more is started, everything under
  // way has ended, and what the entries after it wrote is gone again, so the folder holds what one
  // thread stopping at that entry would have left.
  bool Add(const char* name, const char* destination, uint64_t bytes) EXCLUDES(*lock_);

  // Waits for every queued entry, retiring each in order. False at the first that failed.
  bool Finish() EXCLUDES(*lock_);

 private:
  enum State : uint8_t { kQueued, kRunning, kSucceeded, kFailed };
  struct Job {
    const char* name;
    char destination[kPathCapacity];
    char beside[kPathCapacity];  // the new file written beside destination, or empty
    uint64_t bytes;
    State state;
  };

  void StartWorkers();
  static void WorkerMain(void* pool);
  void Work() EXCLUDES(*lock_);
  Job& Slot(uint32_t index) { return jobs_[index % kSlots]; }
  // Retires the oldest entries while they have finished; with wait, until none is queued.
  bool Retire(bool wait) EXCLUDES(*lock_);
  // The retired entry's file in its place; false, with nothing left beside it, if it cannot move.
  bool Place(Job& job);
  // After a failure: drops what has not started, waits for what has, and removes what the entries
  // after the failed one wrote.
  void Cancel() EXCLUDES(*lock_);
  bool Overlaps(const char* destination);
  uint64_t Allowance() const REQUIRES(*lock_);
  // The end of the queue as the run's thread sees it. Only the run's thread moves it (under the
  // lock, for the workers' sake), so that thread may read it without the lock.
  uint32_t QueuedForRun() const NO_THREAD_SAFETY_ANALYSIS { return queued_; }

  FileSystem& files_;
  const PackageArchive& archive_;
  RunProgress& progress_;
  Threads* threads_;
  Unpack unpack_;
  MemoryStream ownBuffer_;  // the run's thread's, when it unpacks without workers
  std::unique_ptr<ThreadLock> lock_;  // made before the workers start, then only read
  // The run's thread alone.
  void* workers_[kMaxWorkers];
  int workerCount_ = 0;
  bool startTried_ = false;
  bool failed_ = false;  // the run's own view: set when a retired entry failed

  // Entries are numbered in list order: [retired_, queued_) are in the pool, [next_, queued_) of
  // them not started yet.
  //
  // A slot's name, destination and bytes are written by the run's thread, under the lock, while the
  // slot is free, and only read while it is in the pool. Its state changes under the lock. Its
  // beside is written by the worker that runs it and read by the run's thread only once that thread
  // has seen the state finished under the lock.
  Job jobs_[kSlots];
  uint32_t retired_ = 0;  // the run's thread alone
  uint32_t next_ GUARDED_BY(*lock_) = 0;
  uint32_t queued_ GUARDED_BY(*lock_) = 0;  // written by the run's thread alone: see QueuedForRun
  uint64_t bytesInFlight_ GUARDED_BY(*lock_) = 0;
  uint64_t largestQueued_ GUARDED_BY(*lock_) = 0;
  int running_ GUARDED_BY(*lock_) = 0;
  bool stopping_ GUARDED_BY(*lock_) = false;
};

}  // namespace setup
