// Whole-input compression at libdeflate's highest level, for zarc's maximum mode. Builds without
// libdeflate link max_compressor_none.cc instead, whose compressor is never available.
#pragma once

#include <cstdint>
#include <vector>

namespace zarc {

class MaxCompressor {
 public:
  static bool Available();

  MaxCompressor();
  MaxCompressor(const MaxCompressor&) = delete;
  MaxCompressor& operator=(const MaxCompressor&) = delete;
  ~MaxCompressor();

  // One complete zlib stream (header 78 DA, Adler-32 trailer) of size bytes at data. False when
  // memory runs out or the compressor is not available.
  bool Compress(const uint8_t* data, uint32_t size, std::vector<uint8_t>* stream);

 private:
  void* compressor_ = nullptr;  // libdeflate's, made at the first Compress
};

}  // namespace zarc
