#include "script/install_script.h"

#include <cstring>

#include "archive/memory_stream.h"
#include "model/setup_state.h"

namespace setup {

namespace {

constexpr uint32_t kLineCapacity = 512;

// The text field a setting command writes, or null for any other letter.
char* SettingField(char letter) {
  SetupState& s = setupState;
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

// The install entry type of a list command, or 0 for any other letter.
uint8_t ListType(char letter) {
  switch (letter) {
    case 'I': return kExtractEntry;
    case 'F': return kMakeFolder;
    case 'C': return kCopyFile;
    case 'H': return kCopyTree;
    case 'X': return kWriteNewFile;
    case 'Z': return kIfOptionIs;
    default: return 0;
  }
}

// Carries out one line; false when its value does not fit.
bool ApplyLine(const char* line) {
  if (line[0] != '#') return true;
  const char letter = line[1];
  const char* value = strlen(line) >= 3 ? line + 3 : "";  // the third byte is never looked at
  if (letter == 'D') {
    setupState.requiredMB = ParseDecimal(value);
    return true;
  }
  if (letter == 'V') {
    ParsePackageVersion(value, &setupState.packageVersion);
    return true;
  }
  if (char* field = SettingField(letter)) {
    if (strlen(value) >= kPathCapacity) return false;
    strcpy(field, value);
    return true;
  }
  if (uint8_t type = ListType(letter)) {
    InstallList& list = setupState.installList;
    if (list.count >= kMaxInstallEntries || strlen(value) >= kInstallTextCapacity) return false;
    InstallEntry& entry = list.entries[list.count++];
    entry.type = type;
    strcpy(entry.text, value);
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

bool ParseInstallScript(const char* name) {
  MemoryStream script;
  if (!script.LoadEntry(name)) return false;
  setupState.installList.count = 0;
  char line[kLineCapacity];
  while (script.ReadLine(line, kLineCapacity) != nullptr) {
    if (!ApplyLine(line)) return false;
  }
  return true;
}

}  // namespace setup
