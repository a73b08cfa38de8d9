#include "app/registry_probe.h"
#include "platform/memory/memory_registry.h"

namespace setup::testing {

bool KeyExists(Registry& registry, RegistryRoot root, const char* path) {
  return static_cast<MemoryRegistry&>(registry).KeyExists(root, path);
}

}  // namespace setup::testing
