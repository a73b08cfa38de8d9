// Every Win32 handle the platform code owns, each let go of when its owner goes: one small class
// per kind of handle, so no other file closes, frees or releases one by hand.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace setup {

// A kernel handle (a file, a thread), closed when it goes. Both null and INVALID_HANDLE_VALUE mean
// none, since the calls that make them disagree on which they return.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  // Hands the handle to a new owner: this one no longer closes it.
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  // Closes now; false if there was none or the close failed (for a file: data not written).
  bool Close() {
    if (!valid()) return false;
    bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A folder search handle, ended with FindClose when it goes.
class ScopedFind {
 public:
  explicit ScopedFind(HANDLE handle) : handle_(handle) {}
  ~ScopedFind() {
    if (valid()) FindClose(handle_);
  }
  ScopedFind(const ScopedFind&) = delete;
  ScopedFind& operator=(const ScopedFind&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A library loaded for one call, released when it goes.
class ScopedLibrary {
 public:
  explicit ScopedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  ~ScopedLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  ScopedLibrary(const ScopedLibrary&) = delete;
  ScopedLibrary& operator=(const ScopedLibrary&) = delete;

  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

// A registry key handle, closed when it goes. The system's predefined roots are borrowed, never
// closed.
class ScopedKey {
 public:
  ScopedKey(HKEY key, bool owned) : key_(key), owned_(owned) {}
  ~ScopedKey() {
    if (owned_) RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  HKEY get() const { return key_; }
  // Hands the key to a new owner: this one no longer closes it.
  HKEY Release() {
    owned_ = false;
    return key_;
  }

 private:
  HKEY key_;
  bool owned_;
};

// A component object interface, released when it goes.
template <typename Interface>
class ScopedInterface {
 public:
  ScopedInterface() = default;
  ~ScopedInterface() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ScopedInterface(const ScopedInterface&) = delete;
  ScopedInterface& operator=(const ScopedInterface&) = delete;

  // Where a creating call puts the new interface.
  void** Receive() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// A shell item list, freed with the shell's allocator as soon as it goes.
class ScopedItemList {
 public:
  ScopedItemList() = default;
  ~ScopedItemList() { CoTaskMemFree(list_); }
  ScopedItemList(const ScopedItemList&) = delete;
  ScopedItemList& operator=(const ScopedItemList&) = delete;

  LPITEMIDLIST* Receive() { return &list_; }
  LPCITEMIDLIST get() const { return list_; }

 private:
  LPITEMIDLIST list_ = nullptr;
};

// The component object model on this thread for as long as the object lives. Begin and End are
// the same pairing for a caller whose start and end lie in different calls.
class ScopedComponents {
 public:
  ScopedComponents() : result_(Begin()) {}
  ~ScopedComponents() {
    if (SUCCEEDED(result_)) End();
  }
  ScopedComponents(const ScopedComponents&) = delete;
  ScopedComponents& operator=(const ScopedComponents&) = delete;

  static HRESULT Begin() { return CoInitialize(nullptr); }
  static void End() { CoUninitialize(); }

 private:
  HRESULT result_;
};

}  // namespace setup
