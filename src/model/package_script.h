// The package's install script as parsed: its settings and its install list. Read by everything
// after start-up, written by the parser alone.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "model/install_list.h"

namespace setup {

using TextField = char[kPathCapacity];

// The version a package installs when its script gives none (#V).
constexpr uint32_t kDefaultPackageVersion = 5;

struct PackageScript {
  TextField registryPath;       // #G, where the install record is (see Installation)
  TextField defaultInstallDir;  // #P
  TextField mainFolderName;     // #T, also the main window's caption
  TextField executableName;     // #E
  TextField readmeName;         // #R
  TextField startMenuPath;      // #S (see Installation)
  TextField programLinkName;    // #N
  TextField readmeLinkName;     // #M
  TextField uninstallerName;    // #U
  int32_t requiredMB;           // #D
  uint32_t packageVersion;      // #V; 0 when the script gives none (see PackageVersion)
  InstallList installList;
};

// The version this package installs, recorded after a setup or a version-up: #V, or 5 without it.
inline uint32_t PackageVersion(const PackageScript& script) {
  return script.packageVersion != 0 ? script.packageVersion : kDefaultPackageVersion;
}

}  // namespace setup
