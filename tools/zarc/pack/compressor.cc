#include "zarc/pack/compressor.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <new>
#include <system_error>
#include <thread>

#include "zarc/pack/max_compressor.h"
#include "zarc/pack/mutex.h"

namespace zarc {

namespace {

// A stream of the normal mode:
//
//   78 DA | block 0 | block 1 | ... | block n-1 | Adler-32 of the whole input, big-endian
//
// Block i is raw deflate data of input bytes [i x kBlockSize, (i + 1) x kBlockSize), made with
// the 32 KiB before it as a preset dictionary, so that matches still reach back across the cut.
// Every block but the last ends with a sync flush (an empty stored block, not final), which
// leaves it on a byte boundary; the last one ends the deflate data. Fixed block bounds keep the
// bytes independent of the threads.
constexpr uint32_t kBlockSize = 128 * 1024;
constexpr uint32_t kWindowSize = 32 * 1024;
// Within 0.5% of level 9's size on programs and texts in well under half its time, so that
// packing stays quick even with one free core; zlib still writes FLEVEL 3 (78 DA) from level 7.
constexpr int kLevel = 7;
// Input read but not yet compressed, beyond which reading waits; one larger input comes in alone.
constexpr uint64_t kReadAhead = 64ull << 20;

// One input on its way through.
struct Work {
  std::unique_ptr<uint8_t[]> data;
  uint32_t size = 0;
  std::vector<std::vector<uint8_t>> pieces;  // one per block; in maximum mode the whole stream
  std::vector<uint32_t> adlers;              // Adler-32 of each block
  size_t left = 0;                           // pieces not made yet
};

size_t BlockCount(uint32_t size) {
  return size == 0 ? 1 : size_t((uint64_t(size) + kBlockSize - 1) / kBlockSize);
}

// What one thread compresses with: its own zlib state, or libdeflate compressor.
class PieceCompressor {
 public:
  explicit PieceCompressor(Compression mode) : mode_(mode) {}
  PieceCompressor(const PieceCompressor&) = delete;
  PieceCompressor& operator=(const PieceCompressor&) = delete;
  ~PieceCompressor() {
    if (zlibReady_) deflateEnd(&zlib_);
  }

  // Makes piece i of work. False when memory runs out.
  bool Compress(Work& work, size_t i) {
    try {
      if (mode_ == Compression::kMaximum) {
        return max_.Compress(work.data.get(), work.size, &work.pieces[i]);
      }
      return Block(work, i);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }

 private:
  bool Block(Work& work, size_t i) {
    if (!zlibReady_) {
      // Raw deflate (-15: a 32 KiB window, no header): the header and trailer come at the join.
      if (deflateInit2(&zlib_, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return false;
      }
      zlibReady_ = true;
    }
    const uint32_t start = uint32_t(i * kBlockSize);
    const uint32_t length = std::min(kBlockSize, work.size - start);
    const bool last = i + 1 == work.pieces.size();
    const uint8_t* data = work.data.get();
    if (deflateReset(&zlib_) != Z_OK) return false;
    if (start > 0) {
      const uint32_t primed = std::min(kWindowSize, start);
      if (deflateSetDictionary(&zlib_, data + start - primed, primed) != Z_OK) return false;
    }
    std::vector<uint8_t>& out = work.pieces[i];
    out.resize(deflateBound(&zlib_, length) + 16);  // the sync flush's few bytes beyond the bound
    zlib_.next_in = const_cast<uint8_t*>(data + start);
    zlib_.avail_in = length;
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    size_t produced = 0;
    for (;;) {
      zlib_.next_out = out.data() + produced;
      zlib_.avail_out = uInt(out.size() - produced);
      const int result = deflate(&zlib_, flush);
      produced = out.size() - zlib_.avail_out;
      if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) return false;
      // A sync flush is complete once it leaves output room unused.
      if (last ? result == Z_STREAM_END : zlib_.avail_in == 0 && zlib_.avail_out != 0) break;
      out.resize(out.size() * 2);
    }
    out.resize(produced);
    work.adlers[i] = uint32_t(adler32(adler32(0, nullptr, 0), data + start, length));
    return true;
  }

  Compression mode_;
  z_stream zlib_{};
  bool zlibReady_ = false;
  MaxCompressor max_;
};

// Joins the pieces of work into its stream and lets go of its input.
void Assemble(Work& work, std::vector<uint8_t>* stream) {
  if (work.adlers.empty()) {  // maximum mode: the piece is the stream
    *stream = std::move(work.pieces[0]);
  } else {
    size_t total = 2 + 4;
    for (const std::vector<uint8_t>& piece : work.pieces) total += piece.size();
    stream->clear();
    stream->reserve(total);
    stream->push_back(0x78);
    stream->push_back(0xDA);
    uLong adler = adler32(0, nullptr, 0);
    for (size_t i = 0; i < work.pieces.size(); ++i) {
      stream->insert(stream->end(), work.pieces[i].begin(), work.pieces[i].end());
      const uint32_t length = std::min(kBlockSize, uint32_t(work.size - i * kBlockSize));
      adler = adler32_combine(adler, work.adlers[i], z_off_t(length));
    }
    for (int shift = 24; shift >= 0; shift -= 8) stream->push_back(uint8_t(adler >> shift));
  }
  work = Work();
}

// The inputs of one CompressInputs call and the threads that work on them. The calling thread
// reads inputs, queues their pieces and compresses too; helpers only compress.
class Batch {
 public:
  Batch(Compression mode, size_t count, const ReadInput& read,
        std::vector<std::vector<uint8_t>>* streams, const CompressedBytes& compressed)
      : mode_(mode), works_(count), read_(read), streams_(streams), compressed_(compressed) {
    streams_->assign(count, std::vector<uint8_t>());
  }

  bool Run(unsigned threads, size_t* failed) {
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i) {
      try {
        helpers.emplace_back(&Batch::Help, this);
      } catch (const std::system_error&) {
        break;  // fewer threads: slower, same bytes
      }
    }
    Lead();
    MutexLock lock(mutex_);
    closed_ = true;
    changed_.notify_all();
    lock.Unlock();
    for (std::thread& helper : helpers) helper.join();
    lock.Lock();
    if (failed_) *failed = failedIndex_;
    return !failed_;
  }

 private:
  void Lead() EXCLUDES(mutex_) {
    PieceCompressor compressor(mode_);
    size_t next = 0;
    MutexLock lock(mutex_);
    while (!failed_ && finished_ < works_.size()) {
      if (next < works_.size() && inFlight_ < kReadAhead) {
        lock.Unlock();
        Work work;
        const bool read = read_(next, &work.data, &work.size);
        lock.Lock();
        if (!read) {
          Fail(next);
          break;
        }
        Queue(next++, std::move(work));
      } else if (!jobs_.empty()) {
        RunJob(compressor);
      } else {
        mutex_.Wait(changed_);
      }
    }
  }

  void Help() EXCLUDES(mutex_) {
    PieceCompressor compressor(mode_);
    MutexLock lock(mutex_);
    for (;;) {
      while (!closed_ && !failed_ && jobs_.empty()) mutex_.Wait(changed_);
      if (closed_ || failed_) return;
      RunJob(compressor);
    }
  }

  void Queue(size_t input, Work&& work) REQUIRES(mutex_) {
    const size_t pieces = mode_ == Compression::kMaximum ? 1 : BlockCount(work.size);
    work.pieces.resize(pieces);
    if (mode_ == Compression::kNormal) work.adlers.resize(pieces);
    work.left = pieces;
    inFlight_ += work.size;
    works_[input] = std::move(work);
    for (size_t i = 0; i < pieces; ++i) jobs_.push_back(Job{input, i});
    changed_.notify_all();
  }

  // Takes the next job and does it without the lock.
  void RunJob(PieceCompressor& compressor) REQUIRES(mutex_) {
    const Job job = jobs_.front();
    jobs_.pop_front();
    Work& work = works_[job.input];  // works_ never grows: the reference stays good
    mutex_.unlock();
    const bool ok = compressor.Compress(work, job.piece);
    mutex_.lock();
    if (!ok) return Fail(job.input);
    if (compressed_) {
      const uint64_t start = uint64_t(job.piece) * kBlockSize;
      compressed_(mode_ == Compression::kMaximum ? work.size
                                                 : std::min<uint64_t>(kBlockSize, work.size - start));
    }
    if (--work.left > 0) return;
    const uint32_t size = work.size;
    mutex_.unlock();
    bool assembled = true;
    try {
      Assemble(work, &(*streams_)[job.input]);
    } catch (const std::bad_alloc&) {
      assembled = false;
    }
    mutex_.lock();
    if (!assembled) return Fail(job.input);
    inFlight_ -= size;
    ++finished_;
    changed_.notify_all();
  }

  void Fail(size_t input) REQUIRES(mutex_) {
    if (!failed_) failedIndex_ = input;
    failed_ = true;
    changed_.notify_all();
  }

  struct Job {
    size_t input;
    size_t piece;
  };

  Mutex mutex_;
  std::condition_variable_any changed_;

  const Compression mode_;
  // Which input each Work holds, and its count of pieces left, change only under the lock; a
  // job's piece of the Work is written by the thread that took the job, without it.
  std::vector<Work> works_ GUARDED_BY(mutex_);
  const ReadInput& read_;  // called by the calling thread alone, without the lock
  // Stream i is written once, by the thread that finishes input i, without the lock.
  std::vector<std::vector<uint8_t>>* streams_;
  const CompressedBytes& compressed_;  // called with the lock held

  std::deque<Job> jobs_ GUARDED_BY(mutex_);
  uint64_t inFlight_ GUARDED_BY(mutex_) = 0;  // bytes of input read and not yet compressed
  size_t finished_ GUARDED_BY(mutex_) = 0;
  bool closed_ GUARDED_BY(mutex_) = false;
  bool failed_ GUARDED_BY(mutex_) = false;
  size_t failedIndex_ GUARDED_BY(mutex_) = 0;
};

}  // namespace

bool MaximumCompressionAvailable() { return MaxCompressor::Available(); }

unsigned DefaultThreadCount() { return std::max(1u, std::thread::hardware_concurrency()); }

bool CompressInputs(Compression mode, unsigned threads, size_t count, const ReadInput& read,
                    std::vector<std::vector<uint8_t>>* streams, size_t* failed,
                    const CompressedBytes& compressed) {
  if (mode == Compression::kMaximum && !MaximumCompressionAvailable()) {
    *failed = 0;
    return false;
  }
  Batch batch(mode, count, read, streams, compressed);
  return batch.Run(std::max(1u, threads), failed);
}

}  // namespace zarc
