// The dialogs the main window opens, and their dialog procedures.
#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "platform/win32/dialog_view.h"

namespace setup {

struct SetupSession;

// What a nested dialog's presenter works through, given as the dialog's creation parameter.
struct DialogContext {
  MainWindowPlatform& platform;
  SetupSession& session;
};

// Each takes the DialogContext as its creation parameter.
INT_PTR CALLBACK InstallOptionsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LicenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK UninstallProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the install options (133), uninstall (136) and licence (137) dialogs from this module's
// templates; any other template id gives -1.
class Win32NestedDialogs : public NestedDialogs {
 public:
  Win32NestedDialogs(HINSTANCE instance, DialogContext context) : instance_(instance), context_(context) {}
  int Run(HWND owner, int templateId) override;

 private:
  HINSTANCE instance_;
  DialogContext context_;
};

}  // namespace setup
