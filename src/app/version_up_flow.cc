#include "app/flows.h"
#include "app/installed.h"
#include "app/main_window.h"
#include "base/path.h"
#include "chunkfile/chunk_format.h"
#include "chunkfile/chunk_reader.h"
#include "chunkfile/chunk_writer.h"
#include "install/file_installation.h"
#include "model/control_ids.h"
#include "app/session.h"
#include "model/package_layout.h"
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
  SetupSession& session = window.session();
  MainWindowPlatform& platform = window.platform();
  WindowView& view = window.view();

  if (!ClearOfHeldFiles(platform, session, view)) {
    window.ShowVersionUpAgainLayout();  // nothing has changed: the user may try again
    window.InstallRunDone();
    return;
  }
  view.ShowBusyAnimation(true);
  const bool ok = InstallFiles(platform.files, window.progress(), PlanOf(session), platform.threads);
  view.ShowBusyAnimation(false);
  if (!ok) {
    view.ShowMessage(kVersionUpFailedText, kSetupCaption, kMessageOk);
    window.ShowVersionUpFailedLayout();
  } else {
    view.ShowMessage(kVersionUpSucceededText, kSetupCaption, kMessageOk);
    RecordInstallation(platform, session);
    window.ShowInstalledLayout();
    CarryOverSavedData(platform, session, view);
  }
  window.InstallRunDone();
}

void CarryOverSavedData(MainWindowPlatform& platform, const SetupSession& session, WindowView& view) {
  const SetupChoices& choices = session.choices;
  char path[kPathCapacity];
  if (!FormatPath(path, "%s\\%s", choices.installDir, kSavedDataName)) return;
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
  if (replaced) MakeChosenShortcuts(platform, session, view, false);
}

}  // namespace setup
