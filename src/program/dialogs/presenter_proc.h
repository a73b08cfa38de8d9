// The dialog procedure of a nested dialog whose presenter needs only its initialisation and its
// commands: the presenter and its view live as long as the dialog window.
#pragma once

#include <windows.h>

#include "program/dialogs/nested_dialogs.h"

namespace setup {

// State is made as State(window, context) when the dialog initialises, with the DialogContext given
// as the dialog's creation parameter; its presenter offers Initialise() and Command(id).
template <typename State>
INT_PTR PresenterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  State* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG:
      if (state == nullptr) {
        state = new State(window, *reinterpret_cast<DialogContext*>(lParam));
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      }
      state->presenter.Initialise();
      return TRUE;  // the first tab stop takes the focus
    case WM_COMMAND:
      return state != nullptr && state->presenter.Command(LOWORD(wParam)) ? TRUE : FALSE;
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace setup
