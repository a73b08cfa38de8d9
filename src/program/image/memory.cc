// The program's own allocation operators, straight over the C heap. The C++ library's versions
// throw on failure and bring its whole exception machinery into the program with them; this
// program is built without exceptions and tests every nothrow allocation it makes.
#include <cstdlib>
#include <new>

namespace {

void* Allocate(std::size_t size) { return std::malloc(size != 0 ? size : 1); }

// A plain new that fails has no way to say so without exceptions: the program cannot go on.
void* AllocateOrEnd(std::size_t size) {
  void* memory = Allocate(size);
  if (memory == nullptr) std::abort();
  return memory;
}

}  // namespace

// The library's own comes in one object with the new-handler and its writable data.
const std::nothrow_t std::nothrow{};

void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
