// The install options dialog's procedure: everything happens in InstallOptionsDialog.
#include "app/session.h"
#include "program/dialogs/nested_dialogs.h"
#include "program/dialogs/presenter_proc.h"
#include "ui/install_options_dialog.h"

namespace setup {

namespace {

struct InstallOptionsWindow {
  InstallOptionsWindow(HWND window, DialogContext& context)
      : view(window),
        presenter(context.platform.files, context.platform.shell, view, context.session.script,
                  context.session.installation, context.session.choices) {}
  DialogView view;
  InstallOptionsDialog presenter;
};

}  // namespace

INT_PTR CALLBACK InstallOptionsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PresenterProc<InstallOptionsWindow>(window, message, wParam, lParam);
}

}  // namespace setup
