#include "zarc/pack/max_compressor.h"

namespace zarc {

bool MaxCompressor::Available() { return false; }

MaxCompressor::MaxCompressor() = default;

MaxCompressor::~MaxCompressor() = default;

bool MaxCompressor::Compress(const uint8_t*, uint32_t, std::vector<uint8_t>*) { return false; }

}  // namespace zarc
