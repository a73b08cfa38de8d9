#include "install/progress.h"

#include "base/text.h"
#include "model/control_ids.h"
#include "model/setup_state.h"
#include "platform/views.h"

namespace setup {

namespace {

// Shows position and percent on the bar and its text, each only when it changes.
void ShowProgress(WindowView& mainWindow, int32_t position, int32_t percent) {
  SetupState& s = setupState;
  if (percent != s.progressPercent) {
    s.progressPercent = percent;
    char text[32];
    FormatText(text, sizeof text, "%d%%", int(percent));
    mainWindow.SetControlText(IDC_PERCENT, text);
  }
  if (position != s.progressPos) {
    s.progressPos = position;
    SetProgressPosition(mainWindow, IDC_PROGRESS, position);
  }
}

}  // namespace

void BeginProgress(WindowView& mainWindow, uint64_t total) {
  setupState.progressTotal = total;
  setupState.progressDone = 0;
  ShowProgress(mainWindow, 0, 0);
}

void StepProgress(WindowView& mainWindow, uint64_t fileBytes) {
  SetupState& s = setupState;
  uint64_t done = s.progressDone + ProgressWork(fileBytes);
  if (done > s.progressTotal) done = s.progressTotal;  // a file grown since it was measured
  s.progressDone = done;
  uint64_t total = s.progressTotal;
  if (total == 0) return;
  while (total > (uint64_t(1) << 48)) {  // the products below stay within 64 bits
    total >>= 1;
    done >>= 1;
  }
  ShowProgress(mainWindow, int32_t(done * kProgressRange / total), int32_t(done * 100 / total));
}

void EndProgress(WindowView& mainWindow) {
  setupState.progressDone = setupState.progressTotal;
  ShowProgress(mainWindow, kProgressRange, 100);
}

void SetProgressPosition(WindowView& window, int controlId, int position) {
  window.SetProgressPosition(controlId, position);
}

}  // namespace setup
