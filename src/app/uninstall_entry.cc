#include "app/uninstall_entry.h"

#include <cstring>
#include <memory>

#include "base/cp932.h"
#include "base/path.h"
#include "platform/registry.h"

namespace setup {

namespace {

// True when text begins with the component name (any case) and a separator.
bool StartsWithComponent(const char* text, const char* name) {
  const size_t length = strlen(name);
  char first[kPathCapacity];
  if (!CopyText(first, sizeof first, text) || strlen(first) <= length || first[length] != '\\') return false;
  first[length] = '\0';
  return SameCp932Name(first, name);
}

// The first two numbers of a version such as "1.4.2" ("5" gives 5 and 0).
void VersionNumbers(const char* version, uint32_t* major, uint32_t* minor) {
  *major = *minor = 0;
  uint32_t* into = major;
  for (const char* p = version; *p != '\0' && into != nullptr; ++p) {
    if (*p >= '0' && *p <= '9') {
      if (*into <= 0xFFFF) *into = *into * 10 + uint32_t(*p - '0');
    } else {
      into = into == major && *p == '.' ? minor : nullptr;
    }
  }
}

}  // namespace

bool UninstallEntryName(const char* registryPath, char (&name)[kPathCapacity]) {
  const char* rest = registryPath;
  if (StartsWithComponent(rest, ".Default")) rest += strlen(".Default") + 1;
  if (StartsWithComponent(rest, "Software")) rest += strlen("Software") + 1;
  if (!CopyText(name, sizeof name, rest)) return false;
  // Separators become '_'; a 0x5C trail byte stays part of its character.
  for (char* p = name; *p != '\0'; p += Cp932CharLength(p)) {
    if (*p == '\\') *p = '_';
  }
  size_t length = strlen(name);
  while (length > 0 && name[length - 1] == '_') name[--length] = '\0';
  return name[0] != '\0' && name[0] != '_';
}

bool WriteUninstallEntry(Registry& registry, const char* registryPath, const UninstallEntry& entry) {
  char name[kPathCapacity], path[kPathCapacity * 2], quoted[kPathCapacity + 2];
  if (!UninstallEntryName(registryPath, name) ||
      FormatText(path, sizeof path, "%s\\%s", kUninstallListKey, name) >= int(sizeof path) ||
      FormatText(quoted, sizeof quoted, "\"%s\"", entry.uninstaller) >= int(sizeof quoted)) {
    return false;
  }
  std::unique_ptr<RegistryKey> key = registry.OpenOrCreate(RegistryRoot::kLocalMachine, path);
  if (!key) return false;
  uint32_t major, minor;
  VersionNumbers(entry.displayVersion, &major, &minor);
  bool ok = key->SetString("DisplayName", entry.displayName) && key->SetString("DisplayVersion", entry.displayVersion) &&
            key->SetString("UninstallString", quoted) && key->SetString("InstallLocation", entry.installLocation) &&
            key->SetString("DisplayIcon", entry.displayIcon) && key->SetNumber("EstimatedSize", entry.estimatedSizeKB) &&
            key->SetString("InstallDate", entry.installDate) && key->SetNumber("NoModify", 1) &&
            key->SetNumber("NoRepair", 1) && key->SetNumber("VersionMajor", major) &&
            key->SetNumber("VersionMinor", minor);
  if (entry.publisher != nullptr && entry.publisher[0] != '\0') ok = key->SetString("Publisher", entry.publisher) && ok;
  return ok;
}

void DeleteUninstallEntry(Registry& registry, const char* registryPath) {
  char name[kPathCapacity];
  if (!UninstallEntryName(registryPath, name)) return;
  if (std::unique_ptr<RegistryKey> list = registry.OpenOrCreate(RegistryRoot::kLocalMachine, kUninstallListKey)) {
    list->DeleteSubkey(name);
  }
}

}  // namespace setup
