// The licence dialog's procedure: everything happens in LicenceDialog.
#include "app/session.h"
#include "program/dialogs/nested_dialogs.h"
#include "program/dialogs/presenter_proc.h"
#include "ui/licence_dialog.h"

namespace setup {

namespace {

struct LicenceWindow {
  LicenceWindow(HWND window, DialogContext& context) : view(window), presenter(view, context.session.archive) {}
  DialogView view;
  LicenceDialog presenter;
};

}  // namespace

INT_PTR CALLBACK LicenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PresenterProc<LicenceWindow>(window, message, wParam, lParam);
}

}  // namespace setup
