#include "ui/install_options_dialog.h"

#include <cstring>

#include "base/path.h"
#include "base/text.h"
#include "model/control_ids.h"
#include "model/installation.h"
#include "model/setup_choices.h"
#include "model/texts.h"
#include "platform/views.h"
#include "ui/folder_browser.h"
#include "ui/free_space.h"

namespace setup {

namespace {

constexpr char kVersionUpDialogCaption[] = "VersionUp";

// Room kept in a 260-byte path for what the installation adds below the folder.
constexpr size_t kRoomBelowFolder = 32;

// The folder the browser starts at: folder without its last '\' and what follows; "" when it
// has no '\'. A 0x5C trail byte of a double-byte character is no separator.
void ParentForBrowsing(const char* folder, char* start) {
  CopyText(start, kPathCapacity, folder);
  long cut = LastSeparator(start);
  start[cut >= 0 ? cut : 0] = '\0';
}

}  // namespace

void InstallOptionsDialog::Initialise() {
  SetupChoices& s = choices_;
  // Ticked before they may be hidden, so that OK in version-up mode reads the flags back unchanged.
  view_.SetChecked(IDC_START_MENU_LINKS, s.makeStartMenuLinks != 0);
  view_.SetChecked(IDC_DESKTOP_LINK, s.makeDesktopLink != 0);
  if (s.versionUpMode != 0) {
    CopyText(s.installDir, sizeof s.installDir, installation_.mainPath);
    view_.SetCaption(kVersionUpDialogCaption);
    view_.SetControlText(IDC_OK, kVersionUpStartText);
    view_.SetControlText(IDC_DISMISS, kVersionUpStopText);
    view_.ShowControl(IDC_START_MENU_LINKS, false);
    view_.ShowControl(IDC_CHANGE_FOLDER, false);
    view_.ShowControl(IDC_DESKTOP_LINK, false);
  } else {
    CopyText(s.installDir, sizeof s.installDir, script_.defaultInstallDir);
  }
  view_.SetControlText(IDC_FOLDER, s.installDir);
  ShowFreeSpace(files_, view_, s.installDir, script_.requiredMB);
}

bool InstallOptionsDialog::Command(int id) {
  switch (id) {
    case IDC_OK:
      Confirm();
      return true;
    case IDC_DISMISS:
      view_.End(IDC_DISMISS);  // the flags stay as they were
      return true;
    case IDC_CHANGE_FOLDER:
      ChangeFolder();
      return true;
    default:
      return false;
  }
}

void InstallOptionsDialog::ChangeFolder() {
  SetupChoices& s = choices_;
  char start[kPathCapacity];
  ParentForBrowsing(s.installDir, start);
  BrowseForFolder(files_, shell_, view_.Handle(), start, script_.requiredMB, s.browsedFolder);

  const char* chosen = s.browsedFolder;
  if (strlen(chosen) + strlen(script_.mainFolderName) + kRoomBelowFolder >= kPathCapacity) {
    view_.ShowMessage(kCannotMakeFolderText, kSetupCaption, kMessageOk);
    return;
  }
  if (chosen[0] != '\0') {
    char folder[kPathCapacity];
    CopyText(folder, sizeof folder, chosen);
    // A drive root such as "D:\" loses its '\', so that the name is joined with one separator.
    if (EndsWithSeparator(folder)) folder[strlen(folder) - 1] = '\0';
    FormatPath(s.installDir, "%s\\%s", folder, script_.mainFolderName);  // fits: tested above
    view_.SetControlText(IDC_FOLDER, s.installDir);
  }
  ShowFreeSpace(files_, view_, s.installDir, script_.requiredMB);
}

void InstallOptionsDialog::Confirm() {
  SetupChoices& s = choices_;
  s.makeStartMenuLinks = view_.IsChecked(IDC_START_MENU_LINKS) ? 1 : 0;
  s.showReadme = 0;  // this dialog offers no readme choice
  s.makeDesktopLink = view_.IsChecked(IDC_DESKTOP_LINK) ? 1 : 0;
  view_.End(IDC_OK);
}

}  // namespace setup
