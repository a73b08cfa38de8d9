#include "app/uninstall_entry.h"

#include <cstring>
#include <memory>

#include "base/byte_order.h"
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
void VersionNumbers(const char16_t* version, uint32_t* major, uint32_t* minor) {
  *major = *minor = 0;
  uint32_t* into = major;
  for (const char16_t* p = version; *p != 0 && into != nullptr; ++p) {
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
  bool ok = key->SetString("DisplayName", entry.displayName) && key->SetWideString("DisplayVersion", entry.displayVersion) &&
            key->SetString("UninstallString", quoted) && key->SetString("InstallLocation", entry.installLocation) &&
            key->SetString("DisplayIcon", entry.displayIcon) && key->SetNumber("EstimatedSize", entry.estimatedSizeKB) &&
            key->SetString("InstallDate", entry.installDate) && key->SetNumber("NoModify", 1) &&
            key->SetNumber("NoRepair", 1) && key->SetNumber("VersionMajor", major) &&
            key->SetNumber("VersionMinor", minor);
  if (entry.publisher != nullptr && entry.publisher[0] != 0) ok = key->SetWideString("Publisher", entry.publisher) && ok;
  return ok;
}

void DeleteUninstallEntry(Registry& registry, const char* registryPath) {
  char name[kPathCapacity];
  if (!UninstallEntryName(registryPath, name)) return;
  if (std::unique_ptr<RegistryKey> list = registry.OpenOrCreate(RegistryRoot::kLocalMachine, kUninstallListKey)) {
    list->DeleteSubkey(name);
  }
}

namespace {

// A block of a version resource: its length, the length of its value (units of text for type 1,
// bytes otherwise), its type and its key, then the value and the blocks it holds, each start
// aligned to 4 bytes from the start of the resource.
struct VersionBlock {
  uint32_t end;
  uint32_t valueAt;
  uint32_t valueSize;  // bytes
  uint32_t childrenAt;
  bool text;
};

uint32_t Aligned(uint32_t offset) { return (offset + 3) & ~3u; }

bool ReadVersionBlock(const uint8_t* info, uint32_t at, uint32_t limit, const char* key, VersionBlock* block,
                      bool* keyMatches) {
  if (at + 6 > limit) return false;
  const uint32_t length = LoadLE16(info + at);
  if (length < 6 || length > limit - at) return false;
  block->end = at + length;
  block->text = LoadLE16(info + at + 4) == 1;
  block->valueSize = LoadLE16(info + at + 2) * (block->text ? 2u : 1u);
  uint32_t p = at + 6;
  size_t matched = 0;
  *keyMatches = true;
  for (;; p += 2) {
    if (p + 2 > block->end) return false;
    const uint16_t unit = LoadLE16(info + p);
    if (unit == 0) break;
    if (key[matched] == '\0' || unit != uint8_t(key[matched])) {
      *keyMatches = false;
    } else {
      ++matched;
    }
  }
  if (key[matched] != '\0') *keyMatches = false;
  block->valueAt = Aligned(p + 2);
  if (block->valueAt > block->end || block->valueSize > block->end - block->valueAt) return false;
  block->childrenAt = Aligned(block->valueAt + block->valueSize);
  return true;
}

// Looks through the blocks from at to end, and their blocks, at most depth levels down.
bool FindVersionBlock(const uint8_t* info, uint32_t at, uint32_t end, const char* key, int depth, VersionBlock* found) {
  while (depth > 0 && at < end) {
    VersionBlock block;
    bool matches = false;
    if (!ReadVersionBlock(info, at, end, key, &block, &matches)) return false;
    if (matches && block.text) {
      *found = block;
      return true;
    }
    if (FindVersionBlock(info, block.childrenAt, block.end, key, depth - 1, found)) return true;
    at = Aligned(block.end);
  }
  return false;
}

}  // namespace

bool FindVersionString(const uint8_t* info, uint32_t size, const char* key, char16_t* value, uint32_t capacity) {
  VersionBlock block;
  // The resource, its string table list, a table, a string: four levels.
  if (capacity == 0 || !FindVersionBlock(info, 0, size, key, 4, &block)) return false;
  uint32_t units = 0;
  for (; units + 1 < capacity && units < block.valueSize / 2; ++units) {
    value[units] = char16_t(LoadLE16(info + block.valueAt + 2 * units));
    if (value[units] == 0) break;
  }
  value[units] = 0;
  return true;
}

}  // namespace setup
