#include <windows.h>

#include <string>

#include "app/registry_probe.h"
#include "platform/win32/wide_text.h"

namespace setup::testing {

bool KeyExists(Registry&, RegistryRoot root, const char* path) {
  std::wstring wide;
  if (!ToWide(path, &wide)) return false;
  HKEY key;
  HKEY base = root == RegistryRoot::kUsers         ? HKEY_USERS
              : root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER
                                                   : HKEY_LOCAL_MACHINE;
  if (RegOpenKeyExW(base, wide.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace setup::testing
