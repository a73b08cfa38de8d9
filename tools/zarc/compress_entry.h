// Compressing one entry: a step of its own, with no shared state, so that entries can later be
// compressed side by side.
#pragma once

#include <cstdint>
#include <vector>

namespace zarc {

// Compresses size bytes at data into one complete zlib stream (RFC 1950) at best compression
// (header 78 DA). The same input always gives the same bytes. False only when zlib fails.
bool CompressEntry(const uint8_t* data, uint32_t size, std::vector<uint8_t>* stream);

}  // namespace zarc
