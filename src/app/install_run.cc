#include "app/install_run.h"

#include "app/installed.h"
#include "app/main_window.h"
#include "install/creation_log.h"
#include "install/file_installation.h"
#include "install/shortcuts.h"
#include "model/setup_state.h"
#include "model/texts.h"
#include "platform/views.h"

namespace setup {

namespace {

void FinishInstallation(MainWindow& window) {
  SetupState& s = setupState;
  MainWindowPlatform& platform = window.platform();
  WindowView& view = window.view();
  view.ShowMessage(kSetupSucceededText, kSetupCaption, kMessageOk);
  RecordInstallation(platform.registry);
  window.ShowInstalledLayout();
  if (s.makeDesktopLink != 0) CreateDesktopLink(platform.shell, view.Handle());
  if (s.makeStartMenuLinks != 0) CreateStartMenuLinks(platform.files, platform.shell, view.Handle());
  if (s.showReadme != 0) OpenReadme(platform.shell, view);
}

void TakeBackInstallation(CreationLog& created, MainWindow& window) {
  window.view().ShowMessage(kSetupFailedText, kSetupCaption, kMessageOk);
  window.ShowSetupFailedLayout();
  // Only what this run made goes: a folder that held the user's files before keeps them.
  created.TakeBack();
}

}  // namespace

void RunInstall(void* argument) {
  MainWindow& window = *static_cast<MainWindow*>(argument);
  WindowView& view = window.view();
  SetupState& s = setupState;

  window.ShowBusyLayout(true);
  if (!ClearOfHeldFiles(window.platform(), view)) {
    window.ShowSetupFailedLayout();  // nothing has changed: the user may try again
    window.InstallRunDone();
    return;
  }
  view.ShowBusyAnimation(true);
  Threads* threads = window.platform().threads;
  CreationLog created(window.platform().files, threads);
  const bool ok = InstallFiles(created, view, s.installList.entries, s.installList.count, threads);
  view.ShowBusyAnimation(false);
  view.Invalidate();
  if (ok) {
    FinishInstallation(window);
  } else {
    TakeBackInstallation(created, window);
  }
  window.InstallRunDone();
}

}  // namespace setup
