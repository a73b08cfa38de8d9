#include "install/install_run.h"

#include "app/control_ids.h"
#include "app/installed.h"
#include "app/main_window.h"
#include "app/setup_state.h"
#include "app/texts.h"
#include "install/creation_log.h"
#include "install/file_installation.h"
#include "install/shortcuts.h"
#include "platform/shell.h"
#include "platform/threads.h"
#include "platform/views.h"

namespace setup {

namespace {

void FinishInstallation(MainWindowPlatform& platform, WindowView& window) {
  SetupState& s = setupState;
  window.ShowMessage(kSetupSucceededText, kSetupCaption, kMessageOk);
  RecordInstallation(platform.registry);
  ShowInstalledLayout(window);
  if (s.makeDesktopLink != 0) CreateDesktopLink(platform.shell, window.Handle());
  if (s.makeStartMenuLinks != 0) CreateStartMenuLinks(platform.files, platform.shell, window.Handle());
  if (s.showReadme != 0) OpenReadme(platform.shell, window);
}

void TakeBackInstallation(CreationLog& created, WindowView& window) {
  window.ShowMessage(kSetupFailedText, kSetupCaption, kMessageOk);
  window.ShowControl(IDC_PROGRESS, false);
  window.ShowControl(IDC_PERCENT, false);
  window.ShowControl(IDC_SETUP, true);
  window.ShowControl(IDC_CANCEL, true);
  // Only what this run made goes: a folder that held the user's files before keeps them.
  created.TakeBack();
}

}  // namespace

void RunInstall(void* argument) {
  InstallRunContext& context = *static_cast<InstallRunContext*>(argument);
  MainWindowPlatform& platform = *context.platform;
  WindowView& window = *context.mainWindow;
  SetupState& s = setupState;

  ShowBusyLayout(window, true);
  window.ShowBusyAnimation(true);
  CreationLog created(platform.files, platform.threads);
  const bool ok = InstallFiles(created, window, s.installList.entries, s.installList.count, platform.threads);
  window.ShowBusyAnimation(false);
  window.Invalidate();
  if (ok) {
    FinishInstallation(platform, window);
  } else {
    TakeBackInstallation(created, window);
  }

  if (s.workerThread != nullptr) platform.threads->Close(s.workerThread);
  s.workerThread = nullptr;
  context.done();
}

}  // namespace setup
