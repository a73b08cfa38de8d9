// What a successful install run and a successful version-up both do once the files are in place.
#pragma once

namespace setup {

class Registry;
class Shell;
class WindowView;

// executePath and mainPath from installDir, then the install record with version 5.
void RecordInstallation(Registry& registry);

// The maintenance layout: Run, Uninstall and Cancel, the progress display hidden.
void ShowInstalledLayout(WindowView& mainWindow);

// Opens installDir\readmeName with its program.
void OpenReadme(Shell& shell, WindowView& mainWindow);

}  // namespace setup
