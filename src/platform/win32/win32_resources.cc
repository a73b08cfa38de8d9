#include "platform/win32/win32_resources.h"


#include "platform/win32/wide_text.h"

namespace setup {

bool Win32Resources::FindPackage(const char* name, const uint8_t** data, uint32_t* size) {
  WideText wideName;
  return ToWide(name, &wideName) && !wideName.empty() && Load(wideName.c_str(), L"ZARC", data, size);
}

bool Win32Resources::FindPackage(int id, const uint8_t** data, uint32_t* size) {
  if (id < 1 || id > 0xFFFF) return false;
  return Load(MAKEINTRESOURCEW(id), L"ZARC", data, size);
}

bool Win32Resources::FindVersionInformation(const uint8_t** data, uint32_t* size) {
  return Load(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16), data, size);  // RT_VERSION
}

bool Win32Resources::Load(const wchar_t* name, const wchar_t* type, const uint8_t** data, uint32_t* size) {
  HRSRC found = FindResourceW(module_, name, type);
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(module_, found);
  if (loaded == nullptr) return false;
  // A resource stays mapped as long as its module: nothing here needs releasing.
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) return false;
  *data = static_cast<const uint8_t*>(bytes);
  *size = SizeofResource(module_, found);
  return true;
}

}  // namespace setup
