// What the user chose in the dialogs, and which road the main window took.
#pragma once

#include <cstdint>

#include "model/package_script.h"

namespace setup {

struct SetupChoices {
  TextField installDir = {};
  TextField browsedFolder = {};
  int32_t makeStartMenuLinks = 1;
  int32_t makeDesktopLink = 1;
  int32_t showReadme = 0;
  uint8_t optionChoice = 0;
  int32_t licenceAccepted = 0;
  int32_t versionUpMode = 0;  // the main window offered a version-up
};

}  // namespace setup
