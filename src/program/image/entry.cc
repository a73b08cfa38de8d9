// The program's entry point, in place of the C run-time's start-up code. The system C library
// (msvcrt.dll) sets itself up when it loads; this program splits no argument list (the uninstaller
// looks for one switch in GetCommandLineW), keeps no thread-local storage, registers nothing to run
// at exit and imports no data, so what the run-time's start-up would add (argument parsing, its
// exception filter, TLS callbacks, runtime relocations, about 9 KB) is dead weight. Left to do here: the static constructors, then wWinMain.
#include <windows.h>

// Filled by the linker's script: -1, the constructors in link order, then a null.
extern "C" void (*__CTOR_LIST__[])();
// The system C library's own: a GUI program's run-time errors are shown, not written to stderr.
extern "C" void __set_app_type(int type);

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int);

extern "C" void SetupEntry() {
  __set_app_type(2);  // _GUI_APP
  int count = 0;
  while (__CTOR_LIST__[count + 1] != nullptr) ++count;
  // Last first, as the run-time's start-up calls them.
  for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
  wchar_t none[] = L"";
  ExitProcess(UINT(wWinMain(GetModuleHandleW(nullptr), nullptr, none, SW_SHOWDEFAULT)));
}
