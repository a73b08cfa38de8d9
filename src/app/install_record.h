// The install record: the registry key below HKEY_USERS that marks an installation, holding
// "ExecutePath", "MainPath", "StartMenuPath", "RegistryPath" and "Version".
#pragma once

#include <cstdint>

namespace setup {

class Registry;

// Reads the record at setupState.registryPath over the script's values. A value that is absent,
// of another type or too long for its field leaves the field as it was. Opening creates the key.
void ReadInstallRecord(Registry& registry);

// Writes executePath, mainPath, startMenuPath and registryPath, and "Version" (the package's, see
// PackageVersion), to the record.
void WriteInstallRecord(Registry& registry);

// Deletes the Explorer's start-menu ordering entry of startMenuPath and the record's own key. Only
// the last component of each path goes; an empty path deletes nothing.
void DeleteInstallRecord(Registry& registry, const char* startMenuPath);

}  // namespace setup
