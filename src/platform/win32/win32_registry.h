// Registry on Windows, through the wide API only: every key path, value name and string is
// converted from code page 932 explicitly, and strings read back are converted to code page 932, so
// a record reads back the same bytes whatever the system's own code page is.
#pragma once

#include "platform/registry.h"

namespace setup {

// Strings are REG_SZ stored with their NUL; only REG_SZ reads as a string and only a 4-byte
// REG_DWORD as a number. A string with a character that has no exact code page 932 form reads as
// absent, as does text (with its NUL) longer than the caller's buffer.
class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, const char* path) override;
};

}  // namespace setup
