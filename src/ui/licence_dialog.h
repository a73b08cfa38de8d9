// The licence dialog (template 137): the package's licence text, agreed to with button 1 or
// declined with button 2 (also the close box and Esc).
#pragma once

namespace setup {

class PackageArchive;
class WindowView;

class LicenceDialog {
 public:
  LicenceDialog(WindowView& view, const PackageArchive& archive) : view_(view), archive_(archive) {}

  // WM_INITDIALOG: shows the licence entry whole, up to its first zero byte; empty when the
  // package has none.
  void Initialise();

  // WM_COMMAND with a control id; false for ids the dialog does not handle.
  bool Command(int id);

 private:
  WindowView& view_;
  const PackageArchive& archive_;
};

}  // namespace setup
