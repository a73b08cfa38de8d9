#include <cstring>

#include "app/flows.h"
#include "app/install_record.h"
#include "app/main_window.h"
#include "app/uninstall_entry.h"
#include "base/path.h"
#include "install/removal.h"
#include "model/control_ids.h"
#include "app/session.h"
#include "model/texts.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

namespace {

// The desktop shortcut that the install made, named after the program's shortcut.
void DeleteDesktopLink(MainWindowPlatform& platform, const PackageScript& script, WindowView& view) {
  char desktop[kPathCapacity];
  char link[kPathCapacity];
  if (platform.shell.SpecialFolderPath(view.Handle(), SpecialFolder::kDesktop, desktop, sizeof desktop) &&
      FormatPath(link, "%s\\%s.lnk", desktop, script.programLinkName)) {
    platform.files.RemoveFile(link);
  }
}

// The program's start-menu folder with its shortcuts, then each folder above it inside Programs
// (the maker's folder) that is left empty.
void DeleteStartMenuFolder(MainWindowPlatform& platform, const char* startMenuPath, WindowView& view) {
  char programs[kPathCapacity];
  char folder[kPathCapacity];
  if (startMenuPath[0] == '\0' ||
      !platform.shell.SpecialFolderPath(view.Handle(), SpecialFolder::kPrograms, programs, sizeof programs) ||
      !FormatPath(folder, "%s\\%s\\", programs, startMenuPath)) {
    return;
  }
  DeleteFolderTree(platform.files, folder);
  const size_t programsLength = strlen(programs);
  folder[strlen(folder) - 1] = '\0';
  for (long cut = LastSeparator(folder); cut > long(programsLength); cut = LastSeparator(folder)) {
    folder[cut] = '\0';
    if (!platform.files.RemoveEmptyFolder(folder)) break;
  }
}

}  // namespace

void RemoveInstallation(MainWindowPlatform& platform, const SetupSession& session, WindowView& view) {
  const Installation& installation = session.installation;
  char installed[kPathCapacity];
  if (FormatPath(installed, "%s\\", installation.mainPath)) DeleteFolderTree(platform.files, installed);
  DeleteDesktopLink(platform, session.script, view);
  DeleteStartMenuFolder(platform, installation.startMenuPath, view);
  DeleteInstallRecord(platform.registry, installation);
  DeleteUninstallEntry(platform.registry, installation.registryPath);
}

void UninstallCommand(MainWindow& window) {
  WindowView& view = window.view();
  if (view.RunDialog(IDD_UNINSTALL) != IDC_OK) return;
  RemoveInstallation(window.platform(), window.session(), view);
  view.ShowMessage(kUninstalledText, kUninstallCaption, kMessageOk);
  view.End(IDC_UNINSTALL);
}

}  // namespace setup
