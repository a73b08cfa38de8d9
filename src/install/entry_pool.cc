#include "install/entry_pool.h"

#include <cstring>

#include "base/cp932.h"
#include "install/progress.h"
#include "platform/file_system.h"
#include "platform/replacing_file.h"
#include "platform/threads.h"

namespace setup {

namespace {

// A double-byte character of a name in the case Windows compares it in (FoldCp932Character), as
// two bytes at out. Characters that code page 932 spells twice (the NEC and IBM rows and the
// symbols they repeat) or whose case is not certain become one wildcard, so names that differ
// only there count as the same.
void PutFolded(const char* character, char* out) {
  const uint8_t lead = uint8_t(character[0]), trail = uint8_t(character[1]);
  const bool doubtful = lead == 0x87 || lead >= 0xED || (lead == 0x81 && trail >= 0xBE && trail <= 0xE7);
  FoldCp932Character(character, out);
  if (doubtful) out[0] = out[1] = '\x01';
}

// The path as Windows resolves a name before it looks: '/' and '\' separate, empty and "." names
// drop out, ".." takes the name before it away, trailing dots and spaces go, letters fold as
// above. False when the path is not certain to resolve so (a cut character, a name of dots alone,
// ".." at its root, a short "~" name, a ':' past the drive, a device path) or does not fit: the
// caller then waits. The root is the drive, or a UNC path's server and share.
bool Resolved(const char* path, char (&out)[kPathCapacity]) {
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  const bool unc = separator(path[0]) && separator(path[1]);
  // "\\?\" and "\\.\" paths reach the system's name space as they are, ".." and all.
  if (unc && (path[2] == '?' || path[2] == '.') && (path[3] == '\0' || separator(path[3]))) {
    return false;
  }
  const size_t rootNames = unc ? 2 : 1;
  size_t length = 0;                 // of out so far
  size_t starts[kPathCapacity / 2];  // where each name in out begins
  size_t names = 0;
  for (const char* p = path; *p != '\0';) {
    if (*p == '\\' || *p == '/') {
      ++p;
      continue;
    }
    const size_t start = names == 0 ? 0 : length + 1;  // behind its separator
    size_t end = start;
    for (; *p != '\0' && *p != '\\' && *p != '/'; ++p) {
      const uint8_t b = uint8_t(*p);
      if (end + 2 >= kPathCapacity || b == '~' || (b == ':' && p != path + 1)) return false;
      if (IsCp932LeadByte(b)) {
        if (p[1] == '\0') return false;
        PutFolded(p, out + end);
        end += 2;
        ++p;
      } else {
        end += FoldCp932Character(p, out + end);
      }
    }
    if (end - start == 1 && out[start] == '.') continue;
    if (end - start == 2 && out[start] == '.' && out[start + 1] == '.') {
      if (names <= rootNames) return false;  // never above the drive or the share
      length = starts[--names] - 1;
      continue;
    }
    while (end > start && (out[end - 1] == '.' || out[end - 1] == ' ')) --end;  // never a trail byte
    if (end == start) return false;
    if (names > 0) out[length] = '\\';
    starts[names++] = start;
    length = end;
  }
  out[length] = '\0';
  return true;
}

// True when one path begins the other, as Windows compares names: the same file, a file and the
// temporary one made beside it, a folder and a file in it; and whenever that is not certain.
bool Prefixes(const char* a, const char* b) {
  char x[kPathCapacity], y[kPathCapacity];
  if (!Resolved(a, x) || !Resolved(b, y)) return true;
  for (size_t i = 0; x[i] != '\0' && y[i] != '\0'; ++i) {
    if (x[i] != y[i]) return false;
  }
  return true;
}

}  // namespace

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
    if (Prefixes(Slot(i).destination, destination)) return true;
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
