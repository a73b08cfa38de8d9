// The main window's three commands that do the program's work: version-up, uninstall and setup.
// Each runs on the main window's thread; the setup and the version-up hand the copying to one
// worker thread.
#pragma once

namespace setup {

class MainWindow;
class WindowView;
struct MainWindowPlatform;
struct SetupSession;

// Command 1010: options, then RunVersionUp on a worker (on this thread when none can start), so
// that the window keeps painting and answering while the files are copied.
void VersionUpCommand(MainWindow& window);

// The version-up's copy and what follows it: the install list, the outcome told, the record with
// the package's version, the maintenance layout, and the saved data carried over. argument is the
// MainWindow; its last act is MainWindow::InstallRunDone.
void RunVersionUp(void* argument);

// Rewrites "zimel.dat" of installDir from form "ZIML" to "RNKS", keeping its "KTBL", "OPTN" and
// "RNKS" chunks, then makes the start-menu shortcuts again and opens the readme as chosen. Does
// nothing when there is no such file of form "ZIML".
void CarryOverSavedData(MainWindowPlatform& platform, const SetupSession& session, WindowView& view);

// Removes the installed folder, the shortcuts, the start-menu folders that are left empty, the
// record and the entry in the system's list of programs. Nothing it fails to remove stops it.
void RemoveInstallation(MainWindowPlatform& platform, const SetupSession& session, WindowView& view);

// Command 3: after the uninstall dialog, removes the installed folder, the shortcuts, the start-menu
// folders that are left empty and the record, says so, and ends the program.
void UninstallCommand(MainWindow& window);

// Command 1: the licence once per run, the options, the free-space test, then the install run on a
// worker thread.
void SetupCommand(MainWindow& window);

}  // namespace setup
