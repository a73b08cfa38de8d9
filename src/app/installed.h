// What an install run and a version-up both do once the files are in place.
#pragma once

namespace setup {

class Registry;
class Shell;
class WindowView;

// executePath and mainPath from installDir, then the install record with version 5.
void RecordInstallation(Registry& registry);

// Opens installDir\readmeName with its program.
void OpenReadme(Shell& shell, WindowView& mainWindow);

}  // namespace setup
