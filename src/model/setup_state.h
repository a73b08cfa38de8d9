// The one process-wide record through which start-up, the main window, the dialogs, the flows and
// the install run exchange settings, paths, flags and handles. Text is code page 932.
#pragma once

#include <cstdint>

#include "base/text.h"

namespace setup {

constexpr int kMaxInstallEntries = 256;
// The progress bar runs from 0 to this.
constexpr int32_t kProgressRange = 255;
constexpr size_t kInstallTextCapacity = 255;  // at most 254 bytes and the NUL
// The version a package installs when its script gives none (#V).
constexpr uint32_t kDefaultPackageVersion = 5;

// What an install list entry does; the codes are those of the script commands #I #F #C #H #X #Z.
enum InstallEntryType : uint8_t {
  kExtractEntry = 1,   // #I name
  kMakeFolder = 2,     // #F folder
  kCopyFile = 3,       // #C source[,target]
  kCopyTree = 4,       // #H source[,target]
  kWriteNewFile = 5,   // #X name[,content]
  kIfOptionIs = 6,     // #Z number: skip the next entry unless it equals optionChoice
};

struct InstallEntry {
  uint8_t type;
  char text[kInstallTextCapacity];
};
static_assert(sizeof(InstallEntry) == 256, "an install entry is 256 bytes");

struct InstallList {
  int32_t count;
  InstallEntry entries[kMaxInstallEntries];
};

using TextField = char[kPathCapacity];

struct SetupState {
  // From the install script.
  TextField registryPath;  // #G, replaced by the record's "RegistryPath"
  TextField defaultInstallDir;  // #P
  TextField mainFolderName;     // #T, also the main window's caption
  TextField executableName;     // #E
  TextField readmeName;         // #R
  TextField startMenuPath;      // #S, replaced by the record's "StartMenuPath"
  TextField programLinkName;    // #N
  TextField readmeLinkName;     // #M
  TextField uninstallerName;    // #U
  int32_t requiredMB;           // #D
  uint32_t packageVersion;      // #V; 0 when the script gives none (see PackageVersion)
  InstallList installList;

  // From the install record, and set after an install or version-up.
  TextField executePath;
  TextField mainPath;
  uint32_t installedVersion;

  // Choices made in the dialogs.
  TextField installDir;
  TextField browsedFolder;
  int32_t makeStartMenuLinks;
  int32_t makeDesktopLink;
  int32_t showReadme;
  uint8_t optionChoice;

  // Flags, handles and pictures. Handles are the platform's, held opaquely.
  int32_t installed;
  int32_t versionUpMode;
  int32_t licenceAccepted;
  int32_t progressPos;      // the position the bar shows
  int32_t progressPercent;  // the number the percent text shows
  uint64_t progressTotal;   // the run's work, and the part of it done (see BeginProgress)
  uint64_t progressDone;
  void* workerThread;
  void* mainWindow;
  void* instance;
  const uint8_t* pictureInfo;  // BITMAPINFO of the main picture, inside its stream's buffer
  const uint8_t* pictureBits;
  const uint8_t* partsInfo;
  const uint8_t* partsBits;
};

// The process-wide record: zero except makeStartMenuLinks and makeDesktopLink, which start at 1.
//
// Two threads use it. The install run's worker (and the version-up's) writes the progress fields
// (each file), then executePath and mainPath (the record); workerThread is stored by Threads::Start before the worker runs, and
// cleared only by the window's thread once it has joined the worker. The worker reads the script's
// fields, the install list and the dialogs' choices, which nothing writes while it runs. The rule
// that makes it safe: while the worker runs, the window's thread writes nothing here and reads only
// the pictures, since every command of the main window is ignored until the worker's done flag
// (an atomic in the main window presenter) is cleared, after its last write.
extern SetupState setupState;

// The version this package installs, recorded after a setup or a version-up: #V, or 5 without it.
inline uint32_t PackageVersion() {
  return setupState.packageVersion != 0 ? setupState.packageVersion : kDefaultPackageVersion;
}

// Puts setupState back to its state at process start (for tests; the program never resets it).
void ResetSetupState();

}  // namespace setup
