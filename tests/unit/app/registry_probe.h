// Looks into the registry without creating anything, for tests of code that writes it.
#pragma once

#include "platform/registry.h"

namespace setup::testing {

// True when root\path exists. registry is the one from MakeRegistry().
bool KeyExists(Registry& registry, RegistryRoot root, const char* path);

}  // namespace setup::testing
