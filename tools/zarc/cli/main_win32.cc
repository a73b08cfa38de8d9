// zarc on Windows: wmain, so that the arguments arrive as UTF-16 whatever the system code page,
// converted exactly to the code page 932 that entry names and the file system use.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "zarc/cli/commands.h"
#include "zarc/cli/zarc.h"
#include "zarc/system/console.h"
#include "zarc/system/wide_utf8.h"

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);  // names are printed as UTF-8
  zarc::StdioConsole console;
  std::vector<std::string> args(static_cast<size_t>(argc));
  std::vector<const char*> argPointers(static_cast<size_t>(argc));
  for (int i = 0; i < argc; ++i) {
    if (!setup::FromWide(argv[i], &args[size_t(i)])) {
      std::string shown;
      zarc::Utf8FromWide(argv[i], wcslen(argv[i]), &shown);
      zarc::Tell(console, "\"" + shown + "\" has no code page 932 form, which every name and path must have");
      return zarc::kExitFailure;
    }
    argPointers[size_t(i)] = args[size_t(i)].c_str();
  }
  setup::Win32FileSystem files;
  return zarc::RunZarc(argc, argPointers.data(), files, console);
}
