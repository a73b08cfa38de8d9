#include "base/growing.h"

#include <cstring>
#include <new>

namespace setup {

bool MakeRoom(uint8_t** items, uint32_t used, size_t size, uint32_t* capacity, uint32_t limit) {
  if (used >= limit) return false;
  if (used < *capacity) return true;
  uint32_t grown = *capacity != 0 ? *capacity * 2 : 64;
  if (grown > limit) grown = limit;
  uint8_t* larger = new (std::nothrow) uint8_t[size * grown];
  if (larger == nullptr) return false;
  if (used != 0) memcpy(larger, *items, size * used);
  delete[] *items;
  *items = larger;
  *capacity = grown;
  return true;
}

}  // namespace setup
