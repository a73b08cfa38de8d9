// The install run: the worker thread of a setup. It switches the main window to its busy layout,
// carries out the install list, tells the user, then records the installation and makes the
// shortcuts, or takes back what the run created.
#pragma once

namespace setup {

class WindowView;
struct MainWindowPlatform;

struct InstallRunContext {
  MainWindowPlatform* platform;
  WindowView* mainWindow;  // its calls reach the window's own thread
  void (*done)();          // called last, when the worker no longer touches the window
};

// The thread routine; argument is an InstallRunContext.
void RunInstall(void* argument);

}  // namespace setup
