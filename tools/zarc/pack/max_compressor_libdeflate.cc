#include <libdeflate.h>

#include "zarc/pack/max_compressor.h"

namespace zarc {

namespace {

// Its highest level; any level from 7 up writes the header 78 DA.
constexpr int kLevel = 12;

libdeflate_compressor* Of(void* compressor) {
  return static_cast<libdeflate_compressor*>(compressor);
}

}  // namespace

bool MaxCompressor::Available() { return true; }

MaxCompressor::MaxCompressor() = default;

MaxCompressor::~MaxCompressor() { libdeflate_free_compressor(Of(compressor_)); }

bool MaxCompressor::Compress(const uint8_t* data, uint32_t size, std::vector<uint8_t>* stream) {
  if (compressor_ == nullptr) compressor_ = libdeflate_alloc_compressor(kLevel);
  if (compressor_ == nullptr) return false;
  stream->resize(libdeflate_zlib_compress_bound(Of(compressor_), size));
  const size_t written =
      libdeflate_zlib_compress(Of(compressor_), data, size, stream->data(), stream->size());
  if (written == 0) return false;  // cannot happen with the bound's room
  stream->resize(written);
  return true;
}

}  // namespace zarc
