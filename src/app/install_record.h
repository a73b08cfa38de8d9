// The install record: the registry key below HKEY_USERS that marks an installation, holding
// "ExecutePath", "MainPath", "StartMenuPath", "RegistryPath" and "Version".
#pragma once

#include <cstdint>

#include "model/installation.h"

namespace setup {

class Registry;

// What is installed as start-up sees it before the record is read: the script's #G and #S as the
// record's key and start-menu folder, nothing else.
void BeginInstallation(const PackageScript& script, Installation* installation);

// Reads the record at installation's registryPath over what it holds. A value that is absent, of
// another type or too long for its field leaves the field as it was. Opening creates the key.
void ReadInstallRecord(Registry& registry, Installation& installation);

// Writes executePath, mainPath, startMenuPath and registryPath, and "Version" (the package's, see
// PackageVersion), to the record.
void WriteInstallRecord(Registry& registry, const Installation& installation, uint32_t version);

// Deletes the Explorer's start-menu ordering entry of startMenuPath and the record's own key. Only
// the last component of each path goes; an empty path deletes nothing.
void DeleteInstallRecord(Registry& registry, const Installation& installation);

}  // namespace setup
