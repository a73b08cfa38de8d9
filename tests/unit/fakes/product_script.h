// The script fields of the product the flow tests install, as its setup.txt would set them, and
// the installation as start-up begins it from them before any record is read.
#pragma once

#include <cstring>

#include "app/install_record.h"
#include "app/session.h"

namespace setup::testing {

inline void SetProductScript(SetupSession& session, const char* registryPath, const char* installDir) {
  PackageScript& s = session.script;
  strcpy(s.registryPath, registryPath);
  strcpy(s.defaultInstallDir, installDir);
  strcpy(s.mainFolderName, "Quillfen");
  strcpy(s.executableName, "Quillfen.exe");
  strcpy(s.readmeName, "readme.txt");
  strcpy(s.startMenuPath, "Corvane\\Quillfen");
  strcpy(s.programLinkName, "Quillfen");
  strcpy(s.readmeLinkName, "ReadMe");
  strcpy(s.uninstallerName, "uninstall.exe");
  BeginInstallation(s, &session.installation);
}

}  // namespace setup::testing
