// The product's entry in the system's list of installed programs (Settings > Apps, "Programs and
// Features"): a key below HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall,
// in the 64-bit view, named after the install record's path so that it stays the same from one
// release to the next and differs between products.
#pragma once

#include <cstdint>

#include "base/text.h"

namespace setup {

class Registry;

constexpr char kUninstallListKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// What the entry says. Text is code page 932, which the registry stores as UTF-16, but for the two
// values taken from the program's version information, which are UTF-16 already.
struct UninstallEntry {
  const char* displayName;         // the caption, #T
  const char16_t* displayVersion;  // the product's version
  const char16_t* publisher;       // null or empty: left out
  const char* installLocation;
  const char* uninstaller;     // the uninstaller's path, written quoted
  const char* displayIcon;     // the installed program, or the uninstaller
  uint32_t estimatedSizeKB;    // what the run installed
  const char* installDate;     // yyyymmdd
};

// The entry's key name for the record at registryPath: its components after a leading ".Default"
// and "Software", joined with '_' (".Default\Software\CORVANE\QUILLFEN" gives "CORVANE_QUILLFEN").
// False when nothing is left of it or it does not fit.
bool UninstallEntryName(const char* registryPath, char (&name)[kPathCapacity]);

// Writes the entry, replacing the values of one written before: DisplayName, DisplayVersion,
// Publisher, UninstallString, InstallLocation, DisplayIcon, EstimatedSize, InstallDate, NoModify
// and NoRepair (1), VersionMajor and VersionMinor (the first two numbers of the version). False
// when the key cannot be opened or a value not written.
bool WriteUninstallEntry(Registry& registry, const char* registryPath, const UninstallEntry& entry);

// Removes the entry of the record at registryPath, if there is one.
void DeleteUninstallEntry(Registry& registry, const char* registryPath);

// The text of the string named key (ASCII) in a version resource (VS_VERSIONINFO), with its NUL,
// cut to capacity units. False when there is none or the resource is malformed.
bool FindVersionString(const uint8_t* info, uint32_t size, const char* key, char16_t* value, uint32_t capacity);

}  // namespace setup
