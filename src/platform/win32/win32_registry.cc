#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace setup {

namespace {

class Win32RegistryKey : public RegistryKey {
 public:
  Win32RegistryKey(HKEY key, bool owned) : key_(key, owned) {}

  bool QueryString(const char* name, char* buffer, uint32_t capacity) override {
    WideText wideName;
    DWORD type = 0, size = 0;
    if (!ToWide(name, &wideName) ||
        RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return false;
    }
    // Every character takes at least one byte in code page 932, so data of more characters than
    // capacity cannot fit however it converts; such data is not even read.
    if (size / sizeof(wchar_t) > capacity) return false;
    // One character more than the data, zeroed: REG_SZ data need not end in a NUL.
    size_t length = size / sizeof(wchar_t) + 1;
    std::unique_ptr<wchar_t[]> data(new (std::nothrow) wchar_t[length]());
    DWORD got = size;
    if (data == nullptr ||
        RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.get()),
                         &got) != ERROR_SUCCESS ||
        type != REG_SZ || got > size) {
      return false;
    }
    data[got / sizeof(wchar_t)] = L'\0';
    NarrowText text;
    if (!FromWide(data.get(), &text) || text.size() >= capacity) return false;
    memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
  }

  bool QueryNumber(const char* name, uint32_t* value) override {
    WideText wideName;
    DWORD type = 0, number = 0, size = sizeof number;
    if (!ToWide(name, &wideName) ||
        RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof number) {
      return false;
    }
    *value = number;
    return true;
  }

  bool SetString(const char* name, const char* value) override {
    WideText wideName, wideValue;
    if (!ToWide(name, &wideName) || !ToWide(value, &wideValue)) return false;
    size_t bytes = (wideValue.size() + 1) * sizeof(wchar_t);  // the NUL is part of the data
    if (bytes > MAXDWORD) return false;
    return RegSetValueExW(key_.get(), wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue.c_str()),
                          DWORD(bytes)) == ERROR_SUCCESS;
  }

  bool SetWideString(const char* name, const char16_t* value) override {
    WideText wideName;
    if (!ToWide(name, &wideName)) return false;
    size_t length = 0;
    while (value[length] != 0) ++length;
    if (length >= MAXDWORD / sizeof(wchar_t)) return false;
    return RegSetValueExW(key_.get(), wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          DWORD((length + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }

  bool SetNumber(const char* name, uint32_t value) override {
    WideText wideName;
    DWORD number = value;
    return ToWide(name, &wideName) &&
           RegSetValueExW(key_.get(), wideName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof number) == ERROR_SUCCESS;
  }

  // RegDeleteKeyW itself refuses a key with subkeys, on Windows and under Wine alike.
  bool DeleteSubkey(const char* path) override {
    WideText widePath;
    // An empty path would name this key itself.
    return ToWide(path, &widePath) && !widePath.empty() &&
           RegDeleteKeyW(key_.get(), widePath.c_str()) == ERROR_SUCCESS;
  }

 private:
  ScopedKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreate(RegistryRoot root, const char* path) {
  HKEY rootKey = root == RegistryRoot::kUsers ? HKEY_USERS
                 : root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER
                                                      : HKEY_LOCAL_MACHINE;
  WideText widePath;
  if (!ToWide(path, &widePath)) return nullptr;
  if (widePath.empty()) return std::unique_ptr<RegistryKey>(new (std::nothrow) Win32RegistryKey(rootKey, false));
  wchar_t noClass[] = L"";
  HKEY key = nullptr;
  // The 64-bit view whatever the program's own is: the list of installed programs lives there.
  if (RegCreateKeyExW(rootKey, widePath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  ScopedKey owned(key, true);
  std::unique_ptr<RegistryKey> opened(new (std::nothrow) Win32RegistryKey(owned.get(), true));
  if (opened != nullptr) owned.Release();
  return opened;
}

}  // namespace setup
