// What is installed: the install record as start-up read it, and as a setup or a version-up
// rewrites it. Text is code page 932.
#pragma once

#include <cstdint>

#include "model/package_script.h"

namespace setup {

struct Installation {
  // The record's key and the start-menu folder: the script's #G and #S until the record, once
  // read, gives its own "RegistryPath" and "StartMenuPath".
  TextField registryPath;
  TextField startMenuPath;
  TextField executePath;
  TextField mainPath;
  uint32_t installedVersion;
  int32_t installed;  // 1 when executePath names an existing file
};

}  // namespace setup
