#include "ui/uninstall_dialog.h"

#include "model/control_ids.h"
#include "platform/views.h"

namespace setup {

void UninstallDialog::Initialise() { view_.SetControlText(IDC_FOLDER, mainPath_); }

bool UninstallDialog::Command(int id) {
  if (id != IDC_OK && id != IDC_DISMISS) return false;
  view_.End(id);
  return true;
}

}  // namespace setup
