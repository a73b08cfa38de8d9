#include "app/installed.h"

#include "app/install_record.h"
#include "base/path.h"
#include "model/setup_state.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

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
