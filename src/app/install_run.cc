#include "app/install_run.h"

#include "app/installed.h"
#include "app/main_window.h"
#include "install/creation_log.h"
#include "install/file_installation.h"
#include "app/session.h"
#include "model/texts.h"
#include "platform/views.h"

namespace setup {

namespace {

void FinishInstallation(MainWindow& window) {
  SetupSession& session = window.session();
  MainWindowPlatform& platform = window.platform();
  WindowView& view = window.view();
  view.ShowMessage(kSetupSucceededText, kSetupCaption, kMessageOk);
  RecordInstallation(platform, session);
  window.ShowInstalledLayout();
  MakeChosenShortcuts(platform, session, view, true);
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
  const SetupSession& session = window.session();

  window.ShowBusyLayout(true);
  if (!ClearOfHeldFiles(window.platform(), session, view)) {
    window.ShowSetupFailedLayout();  // nothing has changed: the user may try again
    window.InstallRunDone();
    return;
  }
  view.ShowBusyAnimation(true);
  Threads* threads = window.platform().threads;
  CreationLog created(window.platform().files, threads);
  const bool ok = InstallFiles(created, window.progress(), PlanOf(session), threads);
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
