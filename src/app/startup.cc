#include "app/startup.h"

#include "app/install_record.h"
#include "app/picture.h"
#include "app/setup_state.h"
#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "platform/platform.h"
#include "script/install_script.h"

namespace setup {

namespace {
constexpr int kBuiltInPackage = 135;
}  // namespace

int IsProgramInstalled(FileSystem& files) {
  uint64_t size;
  return setupState.executePath[0] != '\0' && files.FileSize(setupState.executePath, &size) ? 1 : 0;
}

int RunSetupProgram(FileSystem& files, Registry& registry, ProgramResources& resources,
                    MainWindowHost& mainWindow, void* instance) {
  SetupState& s = setupState;
  s.instance = instance;
  if (!OpenPackage(files, resources, "files.zarc") && !OpenPackage(files, resources, kBuiltInPackage)) {
    return 0;
  }
  if (!ParseInstallScript("setup.txt")) {
    ClosePackage();
    return 0;
  }
  ReadInstallRecord(registry);
  s.installed = IsProgramInstalled(files);

  // Each picture stays in its own stream, used in place by the window until it has closed.
  MemoryStream mainPicture;
  MemoryStream partsPicture;
  if (!LoadPicture(mainPicture, "setup256.bmp", &s.pictureInfo, &s.pictureBits) ||
      !LoadPicture(partsPicture, "parts.bmp", &s.partsInfo, &s.partsBits)) {
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
