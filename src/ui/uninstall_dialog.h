// The uninstall dialog (template 136): the installed folder that uninstalling removes, with
// start (button 1) and cancel (button 2, first in the tab order so that Enter cancels).
#pragma once

namespace setup {

class WindowView;

class UninstallDialog {
 public:
  UninstallDialog(WindowView& view, const char* mainPath) : view_(view), mainPath_(mainPath) {}

  // WM_INITDIALOG: shows mainPath, whatever it holds.
  void Initialise();

  // WM_COMMAND with a control id; false for ids the dialog does not handle.
  bool Command(int id);

 private:
  WindowView& view_;
  const char* mainPath_;
};

}  // namespace setup
