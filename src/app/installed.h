// What an install run and a version-up both do to the main window around the copying, and once
// the files are in place.
#pragma once

namespace setup {

class Registry;
class Shell;
class WindowView;

// The busy layout: the command buttons give way to the progress bar, and to its percent text
// when asked for.
void ShowBusyLayout(WindowView& mainWindow, bool percentText);

// executePath and mainPath from installDir, then the install record with version 5.
void RecordInstallation(Registry& registry);

// The maintenance layout: Run, Uninstall and Cancel, the progress display hidden.
void ShowInstalledLayout(WindowView& mainWindow);

// Opens installDir\readmeName with its program.
void OpenReadme(Shell& shell, WindowView& mainWindow);

}  // namespace setup
