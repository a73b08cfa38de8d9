#include "app/installed.h"

#include "app/install_record.h"
#include "app/main_window.h"
#include "install/shortcuts.h"
#include "base/path.h"
#include "install/run_targets.h"
#include "app/session.h"
#include "model/texts.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

RunPlan PlanOf(const SetupSession& session) {
  const InstallList& list = session.script.installList;
  return RunPlan{session.archive, list.entries, list.count, session.choices.installDir, session.choices.optionChoice};
}

ShortcutPlan ShortcutsOf(const SetupSession& session) {
  return ShortcutPlan{session.script, session.installation.startMenuPath, session.choices.installDir};
}

bool ClearOfHeldFiles(MainWindowPlatform& platform, const SetupSession& session, WindowView& mainWindow) {
  const RunPlan plan = PlanOf(session);
  FilesInUse found;
  while (FindFilesInUse(platform.files, platform.programsInUse, plan, &found)) {
    char text[sizeof found.names + sizeof kFileInUseFormat];
    FormatText(text, sizeof text, found.programs > 0 ? kProgramsInUseFormat : kFileInUseFormat, found.names);
    if (mainWindow.ShowMessage(text, kSetupCaption, kMessageOkCancel | kMessageIconWarning) != kAnswerOk) {
      return false;
    }
  }
  return true;
}

void RecordInstallation(Registry& registry, SetupSession& session) {
  Installation& s = session.installation;
  const char* installDir = session.choices.installDir;
  FormatPath(s.executePath, "%s\\%s", installDir, session.script.executableName);
  CopyText(s.mainPath, sizeof s.mainPath, installDir);
  WriteInstallRecord(registry, s, PackageVersion(session.script));
}

void MakeChosenShortcuts(MainWindowPlatform& platform, const SetupSession& session, WindowView& mainWindow,
                         bool desktop) {
  const SetupChoices& s = session.choices;
  const ShortcutPlan shortcuts = ShortcutsOf(session);
  if (desktop && s.makeDesktopLink != 0) CreateDesktopLink(platform.shell, mainWindow.Handle(), shortcuts);
  if (s.makeStartMenuLinks != 0) CreateStartMenuLinks(platform.files, platform.shell, mainWindow.Handle(), shortcuts);
  char readme[kPathCapacity];
  if (s.showReadme != 0 && FormatPath(readme, "%s\\%s", s.installDir, session.script.readmeName)) {
    platform.shell.Open(mainWindow.Handle(), readme);
  }
}

}  // namespace setup
