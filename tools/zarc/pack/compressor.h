// Compressing entries: each input becomes one complete zlib stream (RFC 1950, header 78 DA) that
// the setup program's inflater reads. Inputs are compressed side by side on several threads, yet
// the bytes depend on the inputs alone, never on the thread count or on which thread ran first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zarc {

enum class Compression {
  // zlib at level 7, each input cut into blocks of a fixed size that are compressed in parallel,
  // each primed with the 32 KiB before it, and joined into one stream.
  kNormal,
  // libdeflate's highest level, one whole input per thread: smaller and several times slower.
  kMaximum,
};

// False in builds without libdeflate, which then refuse kMaximum.
bool MaximumCompressionAvailable();

// The processor count, at least 1.
unsigned DefaultThreadCount();

// Gives input i: its bytes (owned) and their count. Called for i = 0, 1, ... in order, on the
// thread that called CompressInputs; false stops the run.
using ReadInput =
    std::function<bool(size_t index, std::unique_ptr<uint8_t[]>* data, uint32_t* size)>;

// Told the input bytes of each piece once it is compressed; calls never overlap.
using CompressedBytes = std::function<void(uint64_t bytes)>;

// Compresses count inputs into (*streams)[0..count) on `threads` threads, reading ahead only so
// far that a bounded amount of input waits in memory. False when reading or compressing input
// *failed fails (compressing fails only when memory runs out); later inputs are then not read.
bool CompressInputs(Compression mode, unsigned threads, size_t count, const ReadInput& read,
                    std::vector<std::vector<uint8_t>>* streams, size_t* failed,
                    const CompressedBytes& compressed = nullptr);

}  // namespace zarc
