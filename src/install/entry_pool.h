// Package entries unpacked and written by a pool of worker threads while the install run walks its
// list. The run queues each entry and retires them in list order, so progress, the first failure,
// the order against the list's other actions and what a failed run leaves in the folder stay as if
// one thread did everything.
#pragma once

#include <cstdint>
#include <memory>

#include "base/text.h"

namespace setup {

class FileSystem;
class ThreadLock;
class Threads;
class WindowView;

class EntryPool {
 public:
  // Unpacks the package entry name into the file destination when none is there, or else into a
  // new file beside it named in beside[kPathCapacity] (empty otherwise). False on any failure,
  // leaving nothing of its own behind.
  using Unpack = bool (*)(FileSystem& files, const char* name, const char* destination, char* beside);

  // The entries' bytes the workers may hold at once: at most this, and at most twice the largest
  // entry queued so far; an entry that does not fit beside the others is unpacked alone.
  static constexpr uint64_t kBytesInFlight = 32ull << 20;
  static constexpr int kMaxWorkers = 8;
  static constexpr int kSlots = 32;  // entries queued ahead of the oldest unfinished one

  // With the first entry, starts one worker per processor (at least 2, for the waits on the disk;
  // at most kMaxWorkers). Without threads, or when none can be started, Add does the work itself.
  EntryPool(FileSystem& files, WindowView& window, Threads* threads, Unpack unpack);
  // Lets the entries under way finish, drops the rest, and waits for the workers to end.
  ~EntryPool();
  EntryPool(const EntryPool&) = delete;
  EntryPool& operator=(const EntryPool&) = delete;

  int workers() const { return workerCount_; }

  // Queues an entry of that many bytes for destination, after the ones queued before it. Entries
  // finished by now are retired first: each one written beside its file is moved into its place,
  // and the progress advances. Waits for every queued entry first when destination is one of
  // theirs, or one of their temporary names, or a folder around one. False once an entry has
  // failed (or could not be moved into place): then nothing more is started, everything under way
  // has ended, and what the entries after it wrote is gone again, so the folder holds what one
  // thread stopping at that entry would have left.
  bool Add(const char* name, const char* destination, uint64_t bytes);

  // Waits for every queued entry, retiring each in order. False at the first that failed.
  bool Finish();

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
  void Work();
  Job& Slot(uint32_t index) { return jobs_[index % kSlots]; }
  // Retires the oldest entries while they have finished; with wait, until none is queued.
  bool Retire(bool wait);
  // The retired entry's file in its place; false, with nothing left beside it, if it cannot move.
  bool Place(Job& job);
  // After a failure: drops what has not started, waits for what has, and removes what the entries
  // after the failed one wrote.
  void Cancel();
  bool Overlaps(const char* destination);
  uint64_t Allowance() const;

  FileSystem& files_;
  WindowView& window_;
  Threads* threads_;
  Unpack unpack_;
  std::unique_ptr<ThreadLock> lock_;
  void* workers_[kMaxWorkers];
  int workerCount_ = 0;
  bool startTried_ = false;
  bool failed_ = false;  // the run's own view: set when a retired entry failed

  // Guarded by lock_. Entries are numbered in list order: [retired_, queued_) are in the pool,
  // [next_, queued_) of them not started yet.
  Job jobs_[kSlots];
  uint32_t retired_ = 0;
  uint32_t next_ = 0;
  uint32_t queued_ = 0;
  uint64_t bytesInFlight_ = 0;
  uint64_t largestQueued_ = 0;
  int running_ = 0;
  bool stopping_ = false;
};

}  // namespace setup
