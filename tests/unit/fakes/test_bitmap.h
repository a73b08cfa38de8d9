// Windows bitmap files for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace setup::testing {

// An uncompressed bitmap file: a 40-byte info header, a full palette for 8 bits or fewer, rows
// right after it. height < 0 makes top-down rows.
std::vector<uint8_t> MakeBitmap(int32_t width, int32_t height, uint16_t bits);

// Offsets of fields in a bitmap file, for bending them.
constexpr size_t kOffBitsField = 10;
constexpr size_t kInfoAt = 14;

}  // namespace setup::testing
