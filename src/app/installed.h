// What an install run and a version-up both do before they change anything and once the files
// are in place.
#pragma once

namespace setup {

struct MainWindowPlatform;
class Registry;
class Shell;
class WindowView;
struct SetupSession;

// Before a run changes anything: while another program holds a file it would replace, names it
// and asks the user to close it (OK looks again) or to cancel. False when they cancel.
bool ClearOfHeldFiles(MainWindowPlatform& platform, const SetupSession& session, WindowView& mainWindow);

// executePath and mainPath from installDir, then the install record with the package's version, and
// the entry in the system's list of programs when the package carries zarc's uninstaller.
void RecordInstallation(MainWindowPlatform& platform, SetupSession& session);

// The shortcuts the user chose (the desktop's only with desktop: after a setup), then the readme
// opened with its program when chosen.
void MakeChosenShortcuts(MainWindowPlatform& platform, const SetupSession& session, WindowView& mainWindow,
                         bool desktop);

}  // namespace setup
