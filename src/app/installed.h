// What an install run and a version-up both do before they change anything and once the files
// are in place.
#pragma once

namespace setup {

struct MainWindowPlatform;
class Registry;
class Shell;
class WindowView;

// Before a run changes anything: while another program holds a file it would replace, names it
// and asks the user to close it (OK looks again) or to cancel. False when they cancel.
bool ClearOfHeldFiles(MainWindowPlatform& platform, WindowView& mainWindow);

// executePath and mainPath from installDir, then the install record with version 5.
void RecordInstallation(Registry& registry);

// Opens installDir\readmeName with its program.
void OpenReadme(Shell& shell, WindowView& mainWindow);

}  // namespace setup
