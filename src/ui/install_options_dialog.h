// The install options dialog (template 133): the destination folder with its free space, "変更"
// to pick another folder, and the shortcut check boxes. In version-up mode the same template shows
// the installed folder and nothing can be changed. Everything it decides goes to the choices.
#pragma once

namespace setup {

class FileSystem;
class Shell;
class WindowView;
struct Installation;
struct PackageScript;
struct SetupChoices;

class InstallOptionsDialog {
 public:
  InstallOptionsDialog(FileSystem& files, Shell& shell, WindowView& view, const PackageScript& script,
                       const Installation& installation, SetupChoices& choices)
      : files_(files), shell_(shell), view_(view), script_(script), installation_(installation), choices_(choices) {}

  // WM_INITDIALOG, at every opening: the layout for the mode, and the folder starts again from
  // the script's default (setup) or the installed folder (version-up).
  void Initialise();

  // WM_COMMAND with a control id; false for ids the dialog does not handle.
  bool Command(int id);

 private:
  void ChangeFolder();
  void Confirm();

  FileSystem& files_;
  Shell& shell_;
  WindowView& view_;
  const PackageScript& script_;
  const Installation& installation_;
  SetupChoices& choices_;
};

}  // namespace setup
