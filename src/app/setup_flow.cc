#include "app/flows.h"
#include "app/main_window.h"
#include "app/session.h"
#include "model/control_ids.h"
#include "model/texts.h"
#include "platform/views.h"
#include "ui/free_space.h"

namespace setup {

void SetupCommand(MainWindow& window) {
  SetupChoices& s = window.session().choices;
  WindowView& view = window.view();
  if (s.licenceAccepted == 0) {
    if (view.RunDialog(IDD_LICENCE) != IDC_OK) {
      view.End(IDC_SETUP);  // declining the licence ends the program
      return;
    }
    s.licenceAccepted = 1;
  }
  if (view.RunDialog(IDD_INSTALL_OPTIONS) != IDC_OK) return;

  // A negative requirement reads as a huge unsigned one, so it always warns.
  const double required = double(uint32_t(window.session().script.requiredMB));
  if (FreeSpaceMB(window.platform().files, s.installDir) < required) {
    view.ShowMessage(kDiskSpaceShortText, kDiskSpaceCaption, kMessageIconWarning);
    return;
  }
  window.StartInstallRun();
}

}  // namespace setup
