#include "install/shortcuts.h"

#include "base/path.h"
#include "install/file_installation.h"
#include "model/setup_state.h"
#include "model/texts.h"
#include "platform/shell.h"

namespace setup {

namespace {

// The shortcut folder\linkName suffix.lnk to installDir\fileName, when fileName is set and both
// paths fit.
void MakeLink(Shell& shell, const char* folder, const char* linkName, const char* suffix, const char* fileName) {
  if (fileName[0] == '\0') return;
  char link[kPathCapacity], target[kPathCapacity];
  if (!FormatPath(link, "%s\\%s%s.lnk", folder, linkName, suffix) ||
      !FormatPath(target, "%s\\%s", setupState.installDir, fileName)) {
    return;
  }
  CreateShellLink(shell, link, target, setupState.installDir, kShowNormal);
}

}  // namespace

int32_t CreateShellLink(Shell& shell, const char* linkPath, const char* target, const char* workingDirectory,
                        int showCommand) {
  return shell.WriteShortcut(linkPath, target, workingDirectory, showCommand);
}

bool CreateStartMenuLinks(FileSystem& files, Shell& shell, void* ownerWindow) {
  char programs[kPathCapacity];
  if (!shell.SpecialFolderPath(ownerWindow, SpecialFolder::kPrograms, programs, sizeof programs)) return false;
  // Without a start-menu path the shortcuts go straight into Programs, with no empty name between.
  char folder[kPathCapacity];
  bool placed = setupState.startMenuPath[0] == '\0'
                    ? FormatPath(folder, "%s", programs)
                    : FormatPath(folder, "%s\\%s", programs, setupState.startMenuPath);
  if (!placed) return false;
  CreateFolderPath(files, folder);

  if (shell.BeginComponents() < 0) return false;
  MakeLink(shell, folder, setupState.programLinkName, "", setupState.executableName);
  MakeLink(shell, folder, setupState.programLinkName, kUninstallerLinkSuffix, setupState.uninstallerName);
  MakeLink(shell, folder, setupState.readmeLinkName, "", setupState.readmeName);
  shell.EndComponents();
  return true;
}

bool CreateDesktopLink(Shell& shell, void* ownerWindow) {
  char desktop[kPathCapacity];
  if (!shell.SpecialFolderPath(ownerWindow, SpecialFolder::kDesktop, desktop, sizeof desktop)) return false;
  if (shell.BeginComponents() < 0) return false;
  bool named = setupState.executableName[0] != '\0';
  MakeLink(shell, desktop, setupState.programLinkName, "", setupState.executableName);
  shell.EndComponents();
  return named;
}

}  // namespace setup
