// The install run: the worker thread of a setup. It switches the main window to its busy layout,
// carries out the install list, tells the user, then records the installation and makes the
// shortcuts, or takes back what the run created.
#pragma once

namespace setup {

// The thread routine; argument is the MainWindow that started it, which outlives the run. Its
// last act is MainWindow::InstallRunDone.
void RunInstall(void* argument);

}  // namespace setup
