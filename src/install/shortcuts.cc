#include "install/shortcuts.h"

#include "base/path.h"
#include "platform/files.h"
#include "model/package_script.h"
#include "model/texts.h"
#include "platform/shell.h"

namespace setup {

namespace {

// The shortcut folder\linkName suffix.lnk to installDir\fileName, when fileName is set and both
// paths fit.
void MakeLink(Shell& shell, const char* installDir, const char* folder, const char* linkName, const char* suffix,
              const char* fileName) {
  if (fileName[0] == '\0') return;
  char link[kPathCapacity], target[kPathCapacity];
  if (!FormatPath(link, "%s\\%s%s.lnk", folder, linkName, suffix) ||
      !FormatPath(target, "%s\\%s", installDir, fileName)) {
    return;
  }
  CreateShellLink(shell, link, target, installDir, kShowNormal);
}

}  // namespace

int32_t CreateShellLink(Shell& shell, const char* linkPath, const char* target, const char* workingDirectory,
                        int showCommand) {
  return shell.WriteShortcut(linkPath, target, workingDirectory, showCommand);
}

bool CreateStartMenuLinks(FileSystem& files, Shell& shell, void* ownerWindow, const ShortcutPlan& plan) {
  const PackageScript& s = plan.script;
  char programs[kPathCapacity];
  if (!shell.SpecialFolderPath(ownerWindow, SpecialFolder::kPrograms, programs, sizeof programs)) return false;
  // Without a start-menu path the shortcuts go straight into Programs, with no empty name between.
  char folder[kPathCapacity];
  bool placed = plan.startMenuPath[0] == '\0' ? FormatPath(folder, "%s", programs)
                                               : FormatPath(folder, "%s\\%s", programs, plan.startMenuPath);
  if (!placed) return false;
  CreateFolderPath(files, folder);

  if (shell.BeginComponents() < 0) return false;
  MakeLink(shell, plan.installDir, folder, s.programLinkName, "", s.executableName);
  MakeLink(shell, plan.installDir, folder, s.programLinkName, kUninstallerLinkSuffix, s.uninstallerName);
  MakeLink(shell, plan.installDir, folder, s.readmeLinkName, "", s.readmeName);
  shell.EndComponents();
  return true;
}

bool CreateDesktopLink(Shell& shell, void* ownerWindow, const ShortcutPlan& plan) {
  const PackageScript& s = plan.script;
  char desktop[kPathCapacity];
  if (!shell.SpecialFolderPath(ownerWindow, SpecialFolder::kDesktop, desktop, sizeof desktop)) return false;
  if (shell.BeginComponents() < 0) return false;
  bool named = s.executableName[0] != '\0';
  MakeLink(shell, plan.installDir, desktop, s.programLinkName, "", s.executableName);
  shell.EndComponents();
  return named;
}

}  // namespace setup
