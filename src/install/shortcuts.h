// The shortcut files that point at the installed program, its uninstaller and its readme: a
// folder of them in the start menu's Programs folder, and the program's on the desktop.
#pragma once

#include <cstdint>

namespace setup {

class FileSystem;
class Shell;
struct PackageScript;

// What the shortcuts point at and where they go: the script's names, the start-menu folder of the
// installation and the folder the program is installed in.
struct ShortcutPlan {
  const PackageScript& script;
  const char* startMenuPath;
  const char* installDir;
};

// Writes one shortcut file at linkPath opening target in workingDirectory with showCommand. The
// shell's result: negative on failure. The component object model must be begun on this thread.
int32_t CreateShellLink(Shell& shell, const char* linkPath, const char* target, const char* workingDirectory,
                        int showCommand);

// Creates Programs\startMenuPath with every missing level, then in it the shortcuts to the
// program, the uninstaller and the readme, each only when its file name is set. False when the
// Programs folder cannot be found or the folder path would exceed 259 bytes (nothing is made), and
// when the component object model cannot be begun (the folder is made, no shortcut). A shortcut
// whose own path would exceed 259 bytes is left out. ownerWindow goes to the folder look-up only.
bool CreateStartMenuLinks(FileSystem& files, Shell& shell, void* ownerWindow, const ShortcutPlan& plan);

// Creates the program's shortcut on the desktop. False, with nothing made, when the desktop cannot
// be found, the component object model cannot be begun, or no program is named.
bool CreateDesktopLink(Shell& shell, void* ownerWindow, const ShortcutPlan& plan);

}  // namespace setup
