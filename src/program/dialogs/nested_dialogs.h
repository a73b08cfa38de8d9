// The dialogs the main window opens, and their dialog procedures.
#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "platform/win32/dialog_view.h"

namespace setup {

// Each takes the MainWindowPlatform as its creation parameter.
INT_PTR CALLBACK InstallOptionsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LicenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK UninstallProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the install options (133), uninstall (136) and licence (137) dialogs from this module's
// templates; any other template id gives -1.
class Win32NestedDialogs : public NestedDialogs {
 public:
  Win32NestedDialogs(HINSTANCE instance, MainWindowPlatform& platform)
      : instance_(instance), platform_(platform) {}
  int Run(HWND owner, int templateId) override;

 private:
  HINSTANCE instance_;
  MainWindowPlatform& platform_;
};

}  // namespace setup
