#include "program/dialogs/nested_dialogs.h"

#include "model/control_ids.h"

namespace setup {

int Win32NestedDialogs::Run(HWND owner, int templateId) {
  DLGPROC procedure = nullptr;
  switch (templateId) {
    case IDD_INSTALL_OPTIONS:
      procedure = InstallOptionsProc;
      break;
    case IDD_LICENCE:
      procedure = LicenceProc;
      break;
    case IDD_UNINSTALL:
      procedure = UninstallProc;
      break;
    default:
      return -1;
  }
  return int(DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId), owner, procedure,
                             reinterpret_cast<LPARAM>(&context_)));
}

}  // namespace setup
