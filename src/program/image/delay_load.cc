// The delay-load helper the import thunks call on a delay-loaded function's first use. The
// run-time library's own also serves unloading, binding and notification hooks, none of which
// this program uses, at 1.6 KB.
//
// The DLL is loaded by name, after RestrictDllSearchToSystemFolder has narrowed the search, so
// that comctl32 still comes from the side-by-side store the manifest names.
#include <windows.h>

#include <delayimp.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

template <typename T>
T* AtImage(RVA offset) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(&__ImageBase) + offset);
}

// What the run-time's helper raises: the program cannot go on without a system DLL's function.
[[noreturn]] void Fail(DWORD error) {
  RaiseException(VcppException(ERROR_SEVERITY_ERROR, error), EXCEPTION_NONCONTINUABLE, 0, nullptr);
  ExitProcess(error);
}

}  // namespace

extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr import, FARPROC* entry) {
  auto module = AtImage<HMODULE>(import->rvaHmod);
  HMODULE loaded = *module;
  if (loaded == nullptr) {
    loaded = LoadLibraryA(AtImage<char>(import->rvaDLLName));
    if (loaded == nullptr) Fail(ERROR_MOD_NOT_FOUND);
    // Two threads may race to the first call: the loser drops its extra reference.
    HMODULE earlier = static_cast<HMODULE>(InterlockedCompareExchangePointer(
        reinterpret_cast<void* volatile*>(module), loaded, nullptr));
    if (earlier != nullptr) {
      FreeLibrary(loaded);
      loaded = earlier;
    }
  }
  size_t index = size_t(entry - AtImage<FARPROC>(import->rvaIAT));
  ULONGLONG name = AtImage<IMAGE_THUNK_DATA>(import->rvaINT)[index].u1.AddressOfData;
  LPCSTR procedure = IMAGE_SNAP_BY_ORDINAL(name)
                         ? reinterpret_cast<LPCSTR>(IMAGE_ORDINAL(name))
                         : reinterpret_cast<const char*>(AtImage<IMAGE_IMPORT_BY_NAME>(RVA(name))->Name);
  FARPROC found = GetProcAddress(loaded, procedure);
  if (found == nullptr) Fail(ERROR_PROC_NOT_FOUND);
  *entry = found;
  return found;
}
