#include <atomic>

#include "app/control_ids.h"
#include "app/flows.h"
#include "app/main_window.h"
#include "app/setup_state.h"
#include "app/texts.h"
#include "install/install_run.h"
#include "platform/threads.h"
#include "platform/views.h"
#include "ui/free_space.h"

namespace setup {

namespace {

// Set here before the worker starts and cleared by the worker when it is done with the window.
std::atomic<bool> installRunning{false};

// What the worker needs; lives as long as the main window, which cannot close while it runs.
InstallRunContext runContext;

void WorkerDone() { installRunning.store(false); }

}  // namespace

bool InstallRunning() { return installRunning.load(); }

void SetupCommand(MainWindowPlatform& platform, WindowView& view) {
  SetupState& s = setupState;
  if (InstallRunning()) return;
  if (s.licenceAccepted == 0) {
    if (view.RunDialog(IDD_LICENCE) != IDC_OK) {
      view.End(IDC_SETUP);  // declining the licence ends the program
      return;
    }
    s.licenceAccepted = 1;
  }
  if (view.RunDialog(IDD_INSTALL_OPTIONS) != IDC_OK) return;

  // A negative requirement reads as a huge unsigned one, so it always warns.
  const double required = double(uint32_t(s.requiredMB));
  if (FreeSpaceMB(platform.files, s.installDir) < required) {
    view.ShowMessage(kDiskSpaceShortText, kDiskSpaceCaption, kMessageIconWarning);
    return;
  }

  if (platform.threads == nullptr) return;
  runContext = InstallRunContext{&platform, &view, WorkerDone};
  installRunning.store(true);
  s.workerThread = platform.threads->Start(RunInstall, &runContext);
  if (s.workerThread == nullptr) installRunning.store(false);
}

}  // namespace setup
