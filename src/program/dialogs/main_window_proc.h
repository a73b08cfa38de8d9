// The main window's dialog procedure: translates messages into MainWindow calls.
#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "platform/win32/dialog_view.h"

namespace setup {

// Passed as the dialog's creation parameter.
struct MainWindowContext {
  MainWindowPlatform* platform;
  SetupSession* session;
  NestedDialogs* dialogs;  // the dialogs the window's commands open
};

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace setup
