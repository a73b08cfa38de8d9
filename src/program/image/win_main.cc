// The entry point of setup.exe: wires the Win32 implementations into the portable start-up.
#include <windows.h>
#include <commctrl.h>

#include "app/startup.h"
#include "app/uninstaller.h"
#include "model/control_ids.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_program_process.h"
#include "platform/win32/win32_programs_in_use.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_threads.h"
#include "program/image/dll_search.h"
#include "program/dialogs/main_window_proc.h"
#include "program/dialogs/nested_dialogs.h"

namespace setup {
namespace {

// What follows the program's own name on its command line, as code page 932; empty if it does not
// convert.
void ArgumentsOf(const wchar_t* line, NarrowText* arguments) {
  bool quoted = false;
  for (; *line != L'\0' && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
    if (*line == L'"') quoted = !quoted;
  }
  if (!FromWide(line, arguments)) arguments->Resize(0);
}

class Win32MainWindowHost : public MainWindowHost {
 public:
  Win32MainWindowHost(HINSTANCE instance, MainWindowPlatform& platform, ProgramProcess& process)
      : instance_(instance), platform_(platform), process_(process) {}

  void RunMainWindow(SetupSession& session) override {
    Win32NestedDialogs dialogs(instance_, DialogContext{platform_, session});
    MainWindowContext context{&platform_, &session, &dialogs};
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_MAIN_WINDOW), nullptr, MainWindowProc,
                    reinterpret_cast<LPARAM>(&context));
  }

  // No main window: the uninstall dialog and the message boxes stand alone.
  int RunUninstaller(SetupSession& session) override {
    Win32NestedDialogs dialogs(instance_, DialogContext{platform_, session});
    DialogView view(nullptr, &dialogs);
    NarrowText arguments;
    ArgumentsOf(GetCommandLineW(), &arguments);
    return setup::RunUninstaller(platform_, process_, session, view, arguments.c_str());
  }

 private:
  HINSTANCE instance_;
  MainWindowPlatform& platform_;
  ProgramProcess& process_;
};

}  // namespace
}  // namespace setup

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before the first call into a delay-loaded DLL: the common controls come next.
  setup::RestrictDllSearchToSystemFolder();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  setup::Win32FileSystem files;
  setup::Win32Registry registry;
  setup::Win32Resources resources(instance);
  setup::Win32Shell shell;
  setup::Win32Threads threads;
  setup::Win32ProgramsInUse programsInUse;
  setup::MainWindowPlatform platform{files, registry, shell, &threads, &programsInUse};
  setup::Win32ProgramProcess process;
  setup::Win32MainWindowHost host(instance, platform, process);
  return setup::RunSetupProgram(files, registry, resources, process, host);
}
