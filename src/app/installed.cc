#include "app/installed.h"

#include "app/control_ids.h"
#include "app/install_record.h"
#include "app/setup_state.h"
#include "install/install_path.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

void ShowBusyLayout(WindowView& mainWindow, bool percentText) {
  mainWindow.ShowControl(IDC_SETUP, false);
  mainWindow.ShowControl(IDC_RUN, false);
  mainWindow.ShowControl(IDC_VERSION_UP, false);
  mainWindow.ShowControl(IDC_CANCEL, false);
  mainWindow.ShowControl(IDC_PROGRESS, true);
  if (percentText) mainWindow.ShowControl(IDC_PERCENT, true);
}

void RecordInstallation(Registry& registry) {
  SetupState& s = setupState;
  FormatPath(s.executePath, "%s\\%s", s.installDir, s.executableName);
  CopyText(s.mainPath, sizeof s.mainPath, s.installDir);
  WriteInstallRecord(registry);
}

void ShowInstalledLayout(WindowView& mainWindow) {
  mainWindow.ShowControl(IDC_PROGRESS, false);
  mainWindow.ShowControl(IDC_PERCENT, false);
  mainWindow.ShowControl(IDC_CANCEL, true);
  mainWindow.ShowControl(IDC_SETUP, false);
  mainWindow.ShowControl(IDC_RUN, true);
  mainWindow.ShowControl(IDC_UNINSTALL, true);
  mainWindow.ShowControl(IDC_VERSION_UP, false);
}

void OpenReadme(Shell& shell, WindowView& mainWindow) {
  char readme[kPathCapacity];
  if (FormatPath(readme, "%s\\%s", setupState.installDir, setupState.readmeName)) {
    shell.Open(mainWindow.Handle(), readme);
  }
}

}  // namespace setup
