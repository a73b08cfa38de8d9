// The one way a table of the program grows with what it is given: room doubles, so n items are
// copied fewer than log2(n) times, and never past a limit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace setup {

// Room for one more item after used ones of size bytes each, held at *items with *capacity:
// when full, a table of twice the room (at least 64, at most limit) takes their place. False,
// with everything as it was, at the limit or without memory. *items is from new[] of uint8_t or
// null.
bool MakeRoom(uint8_t** items, uint32_t used, size_t size, uint32_t* capacity, uint32_t limit);

}  // namespace setup
