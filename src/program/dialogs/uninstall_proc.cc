// The uninstall dialog's procedure: everything happens in UninstallDialog.
#include "app/session.h"
#include "program/dialogs/nested_dialogs.h"
#include "program/dialogs/presenter_proc.h"
#include "ui/uninstall_dialog.h"

namespace setup {

namespace {

struct UninstallWindow {
  UninstallWindow(HWND window, DialogContext& context)
      : view(window), presenter(view, context.session.installation.mainPath) {}
  DialogView view;
  UninstallDialog presenter;
};

}  // namespace

INT_PTR CALLBACK UninstallProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = PresenterProc<UninstallWindow>(window, message, wParam, lParam);
  if (message != WM_INITDIALOG) return result;
  // Cancel, the first tab stop, takes the focus as the default button: focus alone would leave
  // Enter to the template's default button, which starts the removal.
  SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDCANCEL)), TRUE);
  return FALSE;
}

}  // namespace setup
