// The registry as the core needs it: keys opened or created below a root, string and DWORD values.
// Names and values are NUL-terminated code page 932 text.
#pragma once

#include <cstdint>
#include <memory>

namespace setup {

enum class RegistryRoot {
  kUsers,         // HKEY_USERS
  kCurrentUser,   // HKEY_CURRENT_USER
  kLocalMachine,  // HKEY_LOCAL_MACHINE in its 64-bit view, where the system lists installed programs
};

// An open registry key; destruction closes it.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // A string value into buffer[capacity] with its NUL. False, with buffer untouched, if the value
  // is absent, not a string, or does not fit.
  virtual bool QueryString(const char* name, char* buffer, uint32_t capacity) = 0;
  // A DWORD value. False, with *value untouched, if absent or not a DWORD.
  virtual bool QueryNumber(const char* name, uint32_t* value) = 0;
  // Stores a string value (with its NUL) or a DWORD value, replacing one of that name.
  virtual bool SetString(const char* name, const char* value) = 0;
  virtual bool SetNumber(const char* name, uint32_t value) = 0;
  // Stores text that is UTF-16 already (what the program's version information holds).
  virtual bool SetWideString(const char* name, const char16_t* value) = 0;
  // Deletes the key at the relative path below this one, with its values. False if it is missing
  // or has subkeys of its own: only a leaf goes.
  virtual bool DeleteSubkey(const char* path) = 0;
};

// The registry. Key paths are relative to the root, '\'-separated, code page 932.
class Registry {
 public:
  virtual ~Registry() = default;
  // Opens root\path, creating every missing key on the way; an empty path is the root itself.
  // Null if it can be neither opened nor created.
  virtual std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, const char* path) = 0;
};

}  // namespace setup
