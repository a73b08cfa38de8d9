#include "app/startup.h"

#include "app/install_record.h"
#include "app/picture.h"
#include "archive/archive_format.h"
#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "model/control_ids.h"
#include "model/setup_state.h"
#include "platform/files.h"
#include "platform/file_system.h"
#include "platform/program_resources.h"
#include "platform/registry.h"
#include "script/install_script.h"

namespace setup {

int IsProgramInstalled(FileSystem& files) {
  return setupState.executePath[0] != '\0' && FileExists(files, setupState.executePath) ? 1 : 0;
}

namespace {

// The program as built from the sources carries no record and takes the current directory's files
// (a package shipped beside it); a program that zarc setup made says so only when asked to.
bool ProgramTakesCurrentFolder(ProgramResources& resources) {
  const uint8_t* record;
  uint32_t size;
  return !resources.FindPackage(IDR_PACKAGE_SOURCES, &record, &size) ||
         CurrentFolderTakesPart(record, size);
}

bool OpenProgramPackage(FileSystem& files, ProgramResources& resources) {
  if (!ProgramTakesCurrentFolder(resources)) return OpenBuiltInPackage(resources, IDR_PACKAGE);
  return OpenPackage(files, resources, "files.zarc") || OpenPackage(files, resources, IDR_PACKAGE);
}

}  // namespace

int RunSetupProgram(FileSystem& files, Registry& registry, ProgramResources& resources,
                    MainWindowHost& mainWindow, void* instance) {
  SetupState& s = setupState;
  s.instance = instance;
  if (!OpenProgramPackage(files, resources)) return 0;
  if (!ParseInstallScript(kScriptEntry)) {
    ClosePackage();
    return 0;
  }
  ReadInstallRecord(registry);
  s.installed = IsProgramInstalled(files);

  // Each picture stays in its own stream, used in place by the window until it has closed.
  MemoryStream mainPicture;
  MemoryStream partsPicture;
  if (!LoadPicture(mainPicture, kMainPictureEntry, &s.pictureInfo, &s.pictureBits) ||
      !LoadPicture(partsPicture, kPartsPictureEntry, &s.partsInfo, &s.partsBits)) {
    s.pictureInfo = s.pictureBits = s.partsInfo = s.partsBits = nullptr;
    ClosePackage();
    return 0;
  }

  mainWindow.RunMainWindow();

  s.pictureInfo = s.pictureBits = s.partsInfo = s.partsBits = nullptr;
  mainPicture.Release();
  partsPicture.Release();
  ClosePackage();
  return 0;
}

}  // namespace setup
