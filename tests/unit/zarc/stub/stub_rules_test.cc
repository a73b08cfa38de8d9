// Which stubs zarc setup takes, and which of their resources the setup program it writes keeps.
#include "zarc/stub/stub_rules.h"

#include <gtest/gtest.h>

#include "archive/archive_format.h"
#include "model/control_ids.h"
#include "zarc/pe/icon_version.h"

namespace zarc {
namespace {

Resource Make(ResourceKey type, ResourceKey name, const std::string& data) {
  return Resource{std::move(type), std::move(name), kResourceLanguage, 0,
                  std::vector<uint8_t>(data.begin(), data.end())};
}

// The stub's resources: the main window, an icon, a version, a manifest and packages it carried.
std::vector<Resource> Stub() {
  return {Make(ResourceId(kDialogType), ResourceId(IDD_MAIN_WINDOW), "main window"),
          Make(ResourceId(kIconType), ResourceId(1), "old icon"),
          Make(ResourceId(kIconGroupType), ResourceId(1), "old group"),
          Make(ResourceId(kVersionType), ResourceId(1), "old version"),
          Make(ResourceId(24), ResourceId(1), "manifest"),
          Make(ResourceText("ZARC"), ResourceId(IDR_PACKAGE), "old package"),
          Make(ResourceText("ZARC"), ResourceText("SPARE"), "another")};
}

// Each resource as its data, in the order given.
std::vector<std::string> Data(const std::vector<Resource>& resources) {
  std::vector<std::string> data;
  for (const Resource& r : resources) data.emplace_back(r.data.begin(), r.data.end());
  return data;
}

TEST(ZarcStubRules, TakesOnlyAProgramWithTheMainWindowDialog) {
  std::string why;
  EXPECT_TRUE(IsSetupStub(Stub(), &why));
  const std::vector<std::vector<Resource>> others = {
      {},
      {Make(ResourceId(kDialogType), ResourceId(IDD_MAIN_WINDOW + 1), "another dialog")},
      {Make(ResourceId(kIconType), ResourceId(IDD_MAIN_WINDOW), "an icon of that id")},
      {Make(ResourceId(kDialogType), ResourceText("129"), "a dialog named so")}};
  for (const std::vector<Resource>& resources : others) {
    EXPECT_FALSE(IsSetupStub(resources, &why));
    EXPECT_NE(std::string::npos, why.find("dialog 129")) << why;
  }
}

TEST(ZarcStubRules, ThePackageAndItsSourcesReplaceEveryPackageOfTheStub) {
  for (bool folderOverrides : {false, true}) {
    bool hadPackage = false;
    std::vector<Resource> resources = SetupProgramResources(Stub(), {'n', 'e', 'w'}, folderOverrides, {}, &hadPackage);
    EXPECT_TRUE(hadPackage);
    ASSERT_EQ(7u, resources.size());
    // Sorted as the tree wants them: the named type first, then the ids in ascending order.
    EXPECT_TRUE(resources[1].type == ResourceText("ZARC") && resources[1].name == ResourceId(IDR_PACKAGE_SOURCES));
    EXPECT_EQ(folderOverrides,
              setup::CurrentFolderTakesPart(resources[1].data.data(), uint32_t(resources[1].data.size())));
    resources.erase(resources.begin() + 1);
    // Without an icon or a version of its own, the program keeps the stub's.
    EXPECT_EQ((std::vector<std::string>{"new", "old icon", "main window", "old group", "old version", "manifest"}),
              Data(resources));
  }
  bool hadPackage = true;
  SetupProgramResources({Make(ResourceId(kDialogType), ResourceId(IDD_MAIN_WINDOW), "")}, {}, false, {}, &hadPackage);
  EXPECT_FALSE(hadPackage);
}

TEST(ZarcStubRules, AnAddedIconReplacesEveryOldIconAndAnAddedVersionTheOldVersion) {
  bool hadPackage = false;
  std::vector<Resource> icon = {Make(ResourceId(kIconType), ResourceId(2), "new icon"),
                                Make(ResourceId(kIconGroupType), ResourceId(1), "new group")};
  std::vector<Resource> resources = SetupProgramResources(Stub(), {}, false, icon, &hadPackage);
  resources.erase(resources.begin(), resources.begin() + 2);  // the package and its sources
  EXPECT_EQ((std::vector<std::string>{"new icon", "main window", "new group", "old version", "manifest"}),
            Data(resources));

  std::vector<Resource> version = {Make(ResourceId(kVersionType), ResourceId(1), "new version")};
  resources = SetupProgramResources(Stub(), {}, false, version, &hadPackage);
  resources.erase(resources.begin(), resources.begin() + 2);
  EXPECT_EQ((std::vector<std::string>{"old icon", "main window", "old group", "new version", "manifest"}),
            Data(resources));
}

}  // namespace
}  // namespace zarc
