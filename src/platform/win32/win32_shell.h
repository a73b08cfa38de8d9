// Shell on Windows: special folders through the shell's item lists, shortcuts through the
// shell-link object (IShellLinkW, IPersistFile), files opened with ShellExecuteW. Every text is
// converted from code page 932 explicitly, so the system's own code page never matters.
#pragma once

#include "platform/shell.h"

namespace setup {

class Win32Shell : public Shell {
 public:
  bool SpecialFolderPath(void* owner, SpecialFolder folder, char* buffer, uint32_t capacity) override;
  // CoInitialize on the calling thread; EndComponents is CoUninitialize.
  int32_t BeginComponents() override;
  void EndComponents() override;
  int32_t WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                        int showCommand) override;
  // The "open" verb, with no parameters and no directory, shown with SW_SHOW.
  bool Open(void* owner, const char* path) override;
  // SHBrowseForFolderW with flags 7 (file-system folders only, not below the domain, status text);
  // its callback forwards to events. The status area is the browser's control 14146 where the
  // browser shows it, else its own status line, made tall enough for two lines.
  bool BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) override;
};

}  // namespace setup
