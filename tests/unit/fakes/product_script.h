// The script fields of the product the flow tests install, as its setup.txt would set them.
#pragma once

#include <cstring>

#include "model/setup_state.h"

namespace setup::testing {

inline void SetProductScript(const char* registryPath, const char* installDir) {
  SetupState& s = setupState;
  strcpy(s.registryPath, registryPath);
  strcpy(s.defaultInstallDir, installDir);
  strcpy(s.mainFolderName, "Quillfen");
  strcpy(s.executableName, "Quillfen.exe");
  strcpy(s.readmeName, "readme.txt");
  strcpy(s.startMenuPath, "Corvane\\Quillfen");
  strcpy(s.programLinkName, "Quillfen");
  strcpy(s.readmeLinkName, "ReadMe");
  strcpy(s.uninstallerName, "uninstall.exe");
}

}  // namespace setup::testing
