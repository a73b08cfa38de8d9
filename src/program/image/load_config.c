// The loader's own settings for setup.exe, read before any import is resolved (the linker points
// the image's load configuration entry at this symbol). Its dependent load flags make Windows 10
// and later resolve the static imports from the system folder only. Earlier Windows ignores the
// field; there the static imports are all known DLLs, which come from the system folder anyway,
// and the rest are delay-loaded after the search has been restricted (see dll_search.cc).
#include <windows.h>

const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32,  // DependentLoadFlags
};
