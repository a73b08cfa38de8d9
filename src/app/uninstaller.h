// The product's uninstaller: the setup program's stub with a package that says so, started from
// the system's list of programs, the start menu or the install folder. It cannot remove the folder
// it runs from, so it copies itself to a folder of its own under the temporary folder and waits
// for the copy, which does the work and is removed at the next restart.
#pragma once

namespace setup {

struct MainWindowPlatform;
class ProgramProcess;
class WindowView;
struct SetupSession;

// Runs the uninstaller over what start-up read, with its command line; returns the exit code.
// Without kOriginalSwitch it is the uninstaller as started: one at a time per product, it tells
// of a product already removed (and removes a stale entry of it), else runs its copy. With it, it
// is the copy: the uninstall dialog, then the removal, and itself queued for removal.
int RunUninstaller(MainWindowPlatform& platform, ProgramProcess& process, const SetupSession& session,
                   WindowView& view, const char* commandLine);

}  // namespace setup
