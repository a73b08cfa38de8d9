#include "app/startup.h"

#include <memory>
#include <new>

#include "app/install_record.h"
#include "app/picture.h"
#include "app/session.h"
#include "app/uninstall_entry.h"
#include "archive/archive_format.h"
#include "archive/memory_stream.h"
#include "model/package_layout.h"
#include "platform/files.h"
#include "platform/file_system.h"
#include "platform/program_process.h"
#include "platform/program_resources.h"
#include "platform/registry.h"
#include "script/install_script.h"

namespace setup {

int IsProgramInstalled(FileSystem& files, const char* executePath) {
  return executePath[0] != '\0' && FileExists(files, executePath) ? 1 : 0;
}

namespace {

// The program as built from the sources carries no record and takes the current directory's files
// (a package shipped beside it); a program that zarc setup made says so only when asked to.
uint32_t ProgramFlags(ProgramResources& resources) {
  const uint8_t* record;
  uint32_t size;
  if (!resources.FindPackage(IDR_PACKAGE_SOURCES, &record, &size)) return kCurrentFolderFlag;
  return PackageSourceFlags(record, size);
}

bool OpenProgramPackage(PackageArchive& archive, FileSystem& files, ProgramResources& resources, uint32_t flags) {
  if ((flags & kCurrentFolderFlag) == 0) return archive.OpenBuiltIn(resources, IDR_PACKAGE);
  return archive.Open(files, resources, kPackageFileName) || archive.Open(files, resources, IDR_PACKAGE);
}

// What the entry in the list of programs takes from the version information zarc wrote.
void ReadProductListing(ProgramResources& resources, ProgramProcess& process, ProductListing* listing) {
  listing->listed = true;
  const uint8_t* info;
  uint32_t size;
  if (resources.FindVersionInformation(&info, &size)) {
    FindVersionString(info, size, "ProductVersion", listing->version, sizeof listing->version / 2);
    FindVersionString(info, size, "CompanyName", listing->publisher, sizeof listing->publisher / 2);
  }
  process.Today(listing->installDate);
}

}  // namespace

int RunSetupProgram(FileSystem& files, Registry& registry, ProgramResources& resources, ProgramProcess& process,
                    MainWindowHost& mainWindow) {
  // The session holds the package's index and its install list: too large for the stack.
  std::unique_ptr<SetupSession> owned(new (std::nothrow) SetupSession());
  if (owned == nullptr) return 0;
  SetupSession& s = *owned;
  const uint32_t flags = ProgramFlags(resources);
  if (!OpenProgramPackage(s.archive, files, resources, flags) ||
      !ParseInstallScript(s.archive, kScriptEntry, &s.script)) {
    return 0;
  }
  BeginInstallation(s.script, &s.installation);
  ReadInstallRecord(registry, s.installation);
  s.installation.installed = IsProgramInstalled(files, s.installation.executePath);
  if ((flags & kUninstallerFlag) != 0) return mainWindow.RunUninstaller(s);
  if ((flags & kOwnUninstallerFlag) != 0) ReadProductListing(resources, process, &s.listing);

  // Each picture stays in its own stream, used in place by the window until it has closed.
  MemoryStream mainPicture;
  MemoryStream partsPicture;
  Pictures& p = s.pictures;
  if (!LoadPicture(mainPicture, s.archive, kMainPictureEntry, &p.pictureInfo, &p.pictureBits) ||
      !LoadPicture(partsPicture, s.archive, kPartsPictureEntry, &p.partsInfo, &p.partsBits)) {
    return 0;
  }
  mainWindow.RunMainWindow(s);
  return 0;
}

}  // namespace setup
