#include "app/installed.h"

#include "app/install_record.h"
#include "app/main_window.h"
#include "app/uninstall_entry.h"
#include "platform/file_system.h"
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

namespace {

// The bytes a run writes: each entry's full size, each copied file's size.
class InstalledBytes : public TargetVisitor {
 public:
  InstalledBytes(FileSystem& files, const PackageArchive& archive) : files_(files), archive_(archive) {}
  bool Target(const char*, const char* source, bool packaged) override {
    uint64_t size = 0;
    if (packaged ? archive_.EntrySize(source, &size) : files_.FileSize(source, &size)) total += size;
    return true;
  }
  uint64_t total = 0;

 private:
  FileSystem& files_;
  const PackageArchive& archive_;
};

void ListProduct(MainWindowPlatform& platform, const SetupSession& session) {
  const ProductListing& listing = session.listing;
  const PackageScript& script = session.script;
  const char* installDir = session.choices.installDir;
  char uninstaller[kPathCapacity];
  if (!listing.listed || !FormatPath(uninstaller, "%s\\%s", installDir, script.uninstallerName)) return;
  // Without version information the release number the record keeps is the version shown.
  char16_t version[12];
  const char16_t* shown = listing.version;
  if (shown[0] == 0) {
    char digits[12];
    FormatText(digits, sizeof digits, "%u", unsigned(PackageVersion(script)));
    for (size_t i = 0; i < sizeof digits; ++i) version[i] = char16_t(digits[i]);
    shown = version;
  }
  InstalledBytes bytes(platform.files, session.archive);
  VisitTargets(platform.files, PlanOf(session), bytes);
  const uint64_t kilobytes = (bytes.total + 1023) / 1024;
  const UninstallEntry entry{script.mainFolderName,
                             shown,
                             listing.publisher,
                             installDir,
                             uninstaller,
                             script.executableName[0] != '\0' ? session.installation.executePath : uninstaller,
                             kilobytes > 0xFFFFFFFF ? 0xFFFFFFFF : uint32_t(kilobytes),
                             listing.installDate};
  WriteUninstallEntry(platform.registry, session.installation.registryPath, entry);
}

}  // namespace

void RecordInstallation(MainWindowPlatform& platform, SetupSession& session) {
  Installation& s = session.installation;
  const char* installDir = session.choices.installDir;
  FormatPath(s.executePath, "%s\\%s", installDir, session.script.executableName);
  CopyText(s.mainPath, sizeof s.mainPath, installDir);
  WriteInstallRecord(platform.registry, s, PackageVersion(session.script));
  ListProduct(platform, session);
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
