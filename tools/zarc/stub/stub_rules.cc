#include "zarc/stub/stub_rules.h"

#include <algorithm>

#include "archive/archive_format.h"
#include "model/control_ids.h"
#include "model/package_layout.h"
#include "zarc/pe/icon_version.h"

namespace zarc {

namespace {

// The "ZSRC" record: whether the program lets its current directory replace the package.
Resource PackageSources(bool folderOverrides) {
  uint8_t record[setup::kPackageSourcesSize];
  setup::WritePackageSources(folderOverrides ? setup::kCurrentFolderFlag : 0, record);
  return Resource{ResourceText("ZARC"), ResourceId(IDR_PACKAGE_SOURCES), kResourceLanguage, 0,
                  std::vector<uint8_t>(record, record + sizeof record)};
}

}  // namespace

bool IsSetupStub(const std::vector<Resource>& resources, std::string* why) {
  const bool hasMainWindow = std::any_of(resources.begin(), resources.end(), [](const Resource& r) {
    return r.type == ResourceId(kDialogType) && r.name == ResourceId(IDD_MAIN_WINDOW);
  });
  if (hasMainWindow) return true;
  *why = "it has no main window (dialog 129), so it is not the setup program's stub";
  return false;
}

std::vector<Resource> SetupProgramResources(const std::vector<Resource>& stub,
                                            std::vector<uint8_t> package, bool folderOverrides,
                                            std::vector<Resource> added, bool* hadPackage) {
  // Any package the stub carried goes, since the program would look at a package named
  // "files.zarc" before resource 135.
  auto adds = [&added](uint16_t type) {
    for (const Resource& r : added) {
      if (r.type == ResourceId(type)) return true;
    }
    return false;
  };
  *hadPackage = false;
  std::vector<Resource> resources;
  for (const Resource& r : stub) {
    // A new icon group replaces the old icons too: Explorer shows the first group.
    const bool replaced = r.type == ResourceText("ZARC") ||
                          (adds(kIconGroupType) && (r.type == ResourceId(kIconType) ||
                                                    r.type == ResourceId(kIconGroupType))) ||
                          (adds(kVersionType) && r.type == ResourceId(kVersionType));
    *hadPackage = *hadPackage || r.type == ResourceText("ZARC");
    if (!replaced) resources.push_back(r);
  }
  resources.push_back(Resource{ResourceText("ZARC"), ResourceId(IDR_PACKAGE), kResourceLanguage, 0,
                               std::move(package)});
  resources.push_back(PackageSources(folderOverrides));
  for (Resource& r : added) resources.push_back(std::move(r));
  SortResources(&resources);
  return resources;
}

}  // namespace zarc
