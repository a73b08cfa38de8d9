#include "app/install_record.h"

#include <cstring>

#include "base/path.h"
#include "platform/registry.h"

namespace setup {

namespace {

// Where the Explorer keeps the order of the start menu's Programs entries.
const char kStartMenuOrderKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs";

}  // namespace

void BeginInstallation(const PackageScript& script, Installation* installation) {
  *installation = Installation();
  CopyText(installation->registryPath, sizeof installation->registryPath, script.registryPath);
  CopyText(installation->startMenuPath, sizeof installation->startMenuPath, script.startMenuPath);
}

void ReadInstallRecord(Registry& registry, Installation& s) {
  std::unique_ptr<RegistryKey> key = registry.OpenOrCreate(RegistryRoot::kUsers, s.registryPath);
  if (!key) return;
  key->QueryString("ExecutePath", s.executePath, sizeof s.executePath);
  key->QueryString("MainPath", s.mainPath, sizeof s.mainPath);
  key->QueryString("StartMenuPath", s.startMenuPath, sizeof s.startMenuPath);
  key->QueryString("RegistryPath", s.registryPath, sizeof s.registryPath);
  key->QueryNumber("Version", &s.installedVersion);
}

void WriteInstallRecord(Registry& registry, const Installation& s, uint32_t version) {
  std::unique_ptr<RegistryKey> key = registry.OpenOrCreate(RegistryRoot::kUsers, s.registryPath);
  if (!key) return;
  key->SetString("ExecutePath", s.executePath);
  key->SetString("MainPath", s.mainPath);
  key->SetString("StartMenuPath", s.startMenuPath);
  key->SetString("RegistryPath", s.registryPath);
  key->SetNumber("Version", version);
}

void DeleteInstallRecord(Registry& registry, const Installation& installation) {
  const char* startMenuPath = installation.startMenuPath;
  // An empty relative path would name the opened key itself: the whole ordering store, or a key
  // directly below HKEY_USERS.
  if (startMenuPath[0] != '\0') {
    if (std::unique_ptr<RegistryKey> order =
            registry.OpenOrCreate(RegistryRoot::kCurrentUser, kStartMenuOrderKey)) {
      order->DeleteSubkey(startMenuPath);
    }
  }

  char parent[kPathCapacity];
  CopyText(parent, sizeof parent, installation.registryPath);
  const long cut = LastSeparator(parent);
  const char* child = parent;
  if (cut >= 0) {
    parent[cut] = '\0';
    child = parent + cut + 1;
  }
  if (child[0] == '\0') return;
  std::unique_ptr<RegistryKey> key =
      registry.OpenOrCreate(RegistryRoot::kUsers, cut >= 0 ? parent : "");
  if (key) key->DeleteSubkey(child);
}

}  // namespace setup
