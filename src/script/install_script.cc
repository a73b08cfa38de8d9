#include "script/install_script.h"

#include <cstring>

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "model/package_script.h"

namespace setup {

const ScriptCommand kScriptCommands[] = {
    {'G', CommandKind::kSetting, 0, kPathCapacity},
    {'P', CommandKind::kSetting, 0, kPathCapacity},
    {'T', CommandKind::kSetting, 0, kPathCapacity},
    {'E', CommandKind::kSetting, 0, kPathCapacity},
    {'R', CommandKind::kSetting, 0, kPathCapacity},
    {'S', CommandKind::kSetting, 0, kPathCapacity},
    {'N', CommandKind::kSetting, 0, kPathCapacity},
    {'M', CommandKind::kSetting, 0, kPathCapacity},
    {'U', CommandKind::kSetting, 0, kPathCapacity},
    {'D', CommandKind::kRequiredSpace, 0, 0},
    {'V', CommandKind::kVersion, 0, 0},
    {'I', CommandKind::kInstall, kExtractEntry, kInstallTextCapacity},
    {'F', CommandKind::kInstall, kMakeFolder, kInstallTextCapacity},
    {'C', CommandKind::kInstall, kCopyFile, kInstallTextCapacity},
    {'H', CommandKind::kInstall, kCopyTree, kInstallTextCapacity},
    {'X', CommandKind::kInstall, kWriteNewFile, kInstallTextCapacity},
    {'Z', CommandKind::kInstall, kIfOptionIs, kInstallTextCapacity},
};
const size_t kScriptCommandCount = sizeof kScriptCommands / sizeof kScriptCommands[0];

const ScriptCommand* FindScriptCommand(char letter) {
  for (const ScriptCommand& command : kScriptCommands) {
    if (command.letter == letter) return &command;
  }
  return nullptr;
}

namespace {

// The text field a setting command writes.
char* SettingField(PackageScript& s, char letter) {
  switch (letter) {
    case 'G': return s.registryPath;
    case 'P': return s.defaultInstallDir;
    case 'T': return s.mainFolderName;
    case 'E': return s.executableName;
    case 'R': return s.readmeName;
    case 'S': return s.startMenuPath;
    case 'N': return s.programLinkName;
    case 'M': return s.readmeLinkName;
    case 'U': return s.uninstallerName;
    default: return nullptr;
  }
}

// Carries out one line; false when its value does not fit.
bool ApplyLine(const char* line, PackageScript& s) {
  if (line[0] != '#') return true;
  const ScriptCommand* command = FindScriptCommand(line[1]);
  if (command == nullptr) return true;
  const char* value = strlen(line) >= 3 ? line + 3 : "";  // the third byte is never looked at
  switch (command->kind) {
    case CommandKind::kRequiredSpace:
      s.requiredMB = ParseDecimal(value);
      return true;
    case CommandKind::kVersion:
      ParsePackageVersion(value, &s.packageVersion);
      return true;
    case CommandKind::kSetting:
      if (strlen(value) >= command->capacity) return false;
      strcpy(SettingField(s, command->letter), value);
      return true;
    case CommandKind::kInstall: {
      if (strlen(value) >= command->capacity) return false;
      InstallEntry* entry = s.installList.Append();
      if (entry == nullptr) return false;
      entry->type = command->installType;
      strcpy(entry->text, value);
      return true;
    }
  }
  return true;
}

bool ParseLines(MemoryStream& script, PackageScript& s) {
  s.installList.count = 0;
  char line[kScriptLineCapacity];
  while (script.ReadLine(line, kScriptLineCapacity) != nullptr) {
    if (!ApplyLine(line, s)) return false;
  }
  return true;
}

}  // namespace

bool ParsePackageVersion(const char* value, uint32_t* version, const char** rest) {
  const char* p = value;
  while (*p == ' ' || *p == '\t') ++p;
  uint64_t number = 0;
  const char* digits = p;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (number <= UINT32_MAX) number = number * 10 + uint64_t(*p - '0');
  }
  if (rest != nullptr) *rest = p;
  if (p == digits || number == 0 || number > UINT32_MAX) return false;
  *version = uint32_t(number);
  return true;
}

bool ParseInstallScript(const PackageArchive& archive, const char* name, PackageScript* script) {
  MemoryStream text;
  return archive.Load(name, text) && ParseLines(text, *script);
}

}  // namespace setup
