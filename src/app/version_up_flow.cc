#include "app/flows.h"
#include "app/installed.h"
#include "app/main_window.h"
#include "base/path.h"
#include "chunkfile/chunk_format.h"
#include "chunkfile/chunk_reader.h"
#include "chunkfile/chunk_writer.h"
#include "install/file_installation.h"
#include "install/shortcuts.h"
#include "model/control_ids.h"
#include "model/setup_state.h"
#include "model/texts.h"
#include "platform/shell.h"
#include "platform/views.h"

namespace setup {

namespace {

// The chunks of the old saved data that the new version reads; the rest are dropped.
bool CarriedOver(uint32_t id) {
  return id == ChunkId("KTBL") || id == ChunkId("OPTN") || id == ChunkId("RNKS");
}

// Copies the kept chunks from reader to writer. False if any of them did not reach the new file.
bool CopyKeptChunks(ChunkReader& reader, ChunkWriter& writer) {
  bool ok = true;
  for (uint32_t id = reader.NextChunk(); id != 0; id = reader.NextChunk()) {
    if (!CarriedOver(id)) continue;
    ok = writer.BeginChunk(id) && writer.Write(reader.ChunkData(), reader.ChunkLength() - 8) &&
         writer.EndChunk() && ok;
  }
  return ok;
}

}  // namespace

void VersionUpCommand(MainWindow& window) {
  if (window.view().RunDialog(IDD_INSTALL_OPTIONS) != IDC_OK) return;

  window.ShowBusyLayout(false);  // the percent text belongs to the install run
  // A window that does not answer for a few seconds is offered to the user to end, which would
  // cut the copy short: it runs on a worker while the window paints and takes no command.
  if (!window.StartWorker(RunVersionUp)) RunVersionUp(&window);
}

void RunVersionUp(void* argument) {
  MainWindow& window = *static_cast<MainWindow*>(argument);
  SetupState& s = setupState;
  MainWindowPlatform& platform = window.platform();
  WindowView& view = window.view();

  if (!ClearOfHeldFiles(platform, view)) {
    window.ShowVersionUpAgainLayout();  // nothing has changed: the user may try again
    window.InstallRunDone();
    return;
  }
  view.ShowBusyAnimation(true);
  const bool ok = InstallFiles(platform.files, view, s.installList.entries, s.installList.count, platform.threads);
  view.ShowBusyAnimation(false);
  if (!ok) {
    view.ShowMessage(kVersionUpFailedText, kSetupCaption, kMessageOk);
    window.ShowVersionUpFailedLayout();
  } else {
    view.ShowMessage(kVersionUpSucceededText, kSetupCaption, kMessageOk);
    RecordInstallation(platform.registry);
    window.ShowInstalledLayout();
    CarryOverSavedData(platform, view);
  }
  window.InstallRunDone();
}

void CarryOverSavedData(MainWindowPlatform& platform, WindowView& view) {
  char path[kPathCapacity];
  if (!FormatPath(path, "%s\\zimel.dat", setupState.installDir)) return;
  ChunkReader reader(platform.files);
  if (!reader.Open(path, ChunkId("ZIML"))) return;
  ChunkWriter writer(platform.files);
  if (!writer.Open(path, ChunkId("RNKS"))) return;
  // The old file is replaced only when the new one is complete; otherwise it stays as it was.
  if (!CopyKeptChunks(reader, writer)) {
    writer.Abandon();
    return;
  }
  const bool replaced = writer.Close();
  reader.Close();
  if (!replaced) return;

  if (setupState.makeStartMenuLinks != 0) {
    CreateStartMenuLinks(platform.files, platform.shell, view.Handle());
  }
  if (setupState.showReadme != 0) OpenReadme(platform.shell, view);
}

}  // namespace setup
