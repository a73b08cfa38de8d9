#include "app/installed.h"

#include "app/install_record.h"
#include "app/main_window.h"
#include "base/path.h"
#include "install/run_targets.h"
#include "model/setup_state.h"
#include "model/texts.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

bool ClearOfHeldFiles(MainWindowPlatform& platform, WindowView& mainWindow) {
  const InstallList& list = setupState.installList;
  FilesInUse found;
  while (FindFilesInUse(platform.files, platform.programsInUse, list.entries, list.count, &found)) {
    char text[sizeof found.names + sizeof kFileInUseFormat];
    FormatText(text, sizeof text, found.programs > 0 ? kProgramsInUseFormat : kFileInUseFormat, found.names);
    if (mainWindow.ShowMessage(text, kSetupCaption, kMessageOkCancel | kMessageIconWarning) != kAnswerOk) {
      return false;
    }
  }
  return true;
}

void RecordInstallation(Registry& registry) {
  SetupState& s = setupState;
  FormatPath(s.executePath, "%s\\%s", s.installDir, s.executableName);
  CopyText(s.mainPath, sizeof s.mainPath, s.installDir);
  WriteInstallRecord(registry);
}

void OpenReadme(Shell& shell, WindowView& mainWindow) {
  char readme[kPathCapacity];
  if (FormatPath(readme, "%s\\%s", setupState.installDir, setupState.readmeName)) {
    shell.Open(mainWindow.Handle(), readme);
  }
}

}  // namespace setup
