// Runs against the registry of the platform: the in-memory one on the host, the real one under
// Wine.
#include "app/install_record.h"
#include "app/uninstall_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/registry_probe.h"
#include "platform/platform_fixture.h"

namespace setup {
namespace {

using testing::KeyExists;

const char kOrder[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs";

class InstallRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_ = testing::MakeRegistry();
    // A maker key of its own per test, so runs never meet in the real registry.
    maker_ = std::string(".Default\\Software\\SetupTests") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    product_ = maker_ + "\\QUILLFEN";
    strcpy(script_.registryPath, product_.c_str());
    BeginInstallation(script_, &installation_);
  }

  void TearDown() override {
    if (auto software = registry_->OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software")) {
      software->DeleteSubkey(product_.c_str() + strlen(".Default\\Software\\"));
      software->DeleteSubkey(maker_.c_str() + strlen(".Default\\Software\\"));
    }
  }

  std::string Value(const std::string& path, const char* name) {
    char buffer[kPathCapacity] = "<absent>";
    registry_->OpenOrCreate(RegistryRoot::kUsers, path.c_str())
        ->QueryString(name, buffer, sizeof buffer);
    return buffer;
  }

  std::unique_ptr<Registry> registry_;
  std::string maker_;
  std::string product_;
  PackageScript script_ = {};
  Installation installation_ = {};
};

TEST_F(InstallRecordTest, NoRecordLeavesTheScriptValuesAndCreatesTheEmptyKey) {
  strcpy(script_.startMenuPath, "Corvane\\Quillfen");
  BeginInstallation(script_, &installation_);
  ASSERT_FALSE(KeyExists(*registry_, RegistryRoot::kUsers, product_.c_str()));
  ReadInstallRecord(*registry_, installation_);
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kUsers, product_.c_str()));
  EXPECT_STREQ("", installation_.executePath);
  EXPECT_STREQ("", installation_.mainPath);
  EXPECT_STREQ("Corvane\\Quillfen", installation_.startMenuPath);
  EXPECT_STREQ(product_.c_str(), installation_.registryPath);
  EXPECT_EQ(0u, installation_.installedVersion);
}

TEST_F(InstallRecordTest, AWrittenRecordReadsBackWithVersion5) {
  strcpy(installation_.executePath, "C:\\Program Files\\Corvane\\Quillfen\\Quillfen.exe");
  strcpy(installation_.mainPath, "C:\\Program Files\\\x83\x5c\x83\x74\x83\x67");  // "ソフト"
  strcpy(installation_.startMenuPath, "Corvane\\Quillfen");
  WriteInstallRecord(*registry_, installation_, PackageVersion(script_));
  EXPECT_EQ(0u, installation_.installedVersion);  // the write does not change it in memory

  BeginInstallation(script_, &installation_);
  ReadInstallRecord(*registry_, installation_);
  EXPECT_STREQ("C:\\Program Files\\Corvane\\Quillfen\\Quillfen.exe", installation_.executePath);
  EXPECT_STREQ("C:\\Program Files\\\x83\x5c\x83\x74\x83\x67", installation_.mainPath);
  EXPECT_STREQ("Corvane\\Quillfen", installation_.startMenuPath);
  EXPECT_STREQ(product_.c_str(), installation_.registryPath);
  EXPECT_EQ(5u, installation_.installedVersion);

  script_.packageVersion = 7;  // a package of its own version (#V) records that one
  WriteInstallRecord(*registry_, installation_, PackageVersion(script_));
  ReadInstallRecord(*registry_, installation_);
  EXPECT_EQ(7u, installation_.installedVersion);
}

TEST_F(InstallRecordTest, ValuesThatDoNotFitOrDoNotMatchTheirTypeReadAsAbsent) {
  {
    auto key = registry_->OpenOrCreate(RegistryRoot::kUsers, product_.c_str());
    ASSERT_TRUE(key);
    key->SetString("MainPath", std::string(260, 'm').c_str());
    key->SetString("ExecutePath", std::string(259, 'e').c_str());
    key->SetString("Version", "5");
    key->SetNumber("StartMenuPath", 7);
  }
  strcpy(installation_.mainPath, "kept");
  strcpy(installation_.startMenuPath, "script");
  installation_.installedVersion = 0;
  ReadInstallRecord(*registry_, installation_);
  EXPECT_STREQ("kept", installation_.mainPath);
  EXPECT_EQ(259u, strlen(installation_.executePath));
  EXPECT_STREQ("script", installation_.startMenuPath);
  EXPECT_EQ(0u, installation_.installedVersion);

  registry_->OpenOrCreate(RegistryRoot::kUsers, product_.c_str())->SetNumber("Version", 0xFFFFFFFFu);
  ReadInstallRecord(*registry_, installation_);
  EXPECT_EQ(0xFFFFFFFFu, installation_.installedVersion);
}

TEST_F(InstallRecordTest, AStoredRegistryPathRedirectsWritesAndTheDeletion) {
  const std::string moved = maker_ + "\\MOVED";
  registry_->OpenOrCreate(RegistryRoot::kUsers, product_.c_str())
      ->SetString("RegistryPath", moved.c_str());
  ReadInstallRecord(*registry_, installation_);
  EXPECT_STREQ(moved.c_str(), installation_.registryPath);

  strcpy(installation_.mainPath, "D:\\Games\\Quillfen");
  WriteInstallRecord(*registry_, installation_, PackageVersion(script_));
  EXPECT_EQ("D:\\Games\\Quillfen", Value(moved, "MainPath"));
  EXPECT_EQ("<absent>", Value(product_, "MainPath"));

  DeleteInstallRecord(*registry_, installation_);
  EXPECT_FALSE(KeyExists(*registry_, RegistryRoot::kUsers, moved.c_str()));
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kUsers, product_.c_str()));
}

TEST_F(InstallRecordTest, DeletionTakesOnlyTheLastComponentOfEachPath) {
  const std::string orderMaker = std::string(kOrder) + "\\SetupTestsMaker";
  const std::string orderProduct = orderMaker + "\\Quillfen";
  ASSERT_TRUE(registry_->OpenOrCreate(RegistryRoot::kCurrentUser, orderProduct.c_str()));
  WriteInstallRecord(*registry_, installation_, PackageVersion(script_));

  strcpy(installation_.startMenuPath, "SetupTestsMaker\\Quillfen");
  DeleteInstallRecord(*registry_, installation_);
  EXPECT_FALSE(KeyExists(*registry_, RegistryRoot::kUsers, product_.c_str()));
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kUsers, maker_.c_str()));
  EXPECT_FALSE(KeyExists(*registry_, RegistryRoot::kCurrentUser, orderProduct.c_str()));
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kCurrentUser, orderMaker.c_str()));

  auto order = registry_->OpenOrCreate(RegistryRoot::kCurrentUser, kOrder);
  order->DeleteSubkey("SetupTestsMaker");
}

TEST_F(InstallRecordTest, EmptyPathsDeleteNothing) {
  ASSERT_TRUE(registry_->OpenOrCreate(RegistryRoot::kCurrentUser, kOrder));
  WriteInstallRecord(*registry_, installation_, PackageVersion(script_));
  installation_.registryPath[0] = '\0';
  DeleteInstallRecord(*registry_, installation_);
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kCurrentUser, kOrder));
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kUsers, ".Default\\Software"));
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kUsers, product_.c_str()));

  // A path ending in a separator names no child to delete.
  strcpy(installation_.registryPath, (product_ + "\\").c_str());
  DeleteInstallRecord(*registry_, installation_);
  EXPECT_TRUE(KeyExists(*registry_, RegistryRoot::kUsers, product_.c_str()));
}

// The entry in the system's list of programs: named after the record, so each release finds the
// one before it, written whole, rewritten by the next release, and gone with the product.
TEST_F(InstallRecordTest, TheProgramListEntryIsNamedAfterTheRecordAndGoesWithIt) {
  char name[kPathCapacity];
  const std::pair<const char*, const char*> names[] = {
      {".Default\\Software\\CORVANE\\QUILLFEN", "CORVANE_QUILLFEN"},
      {".default\\SOFTWARE\\Quillfen\\", "Quillfen"},
      {"Corvane\\\x95\x5c\\x", "Corvane_\x95\x5c_x"},  // the trail byte of "表" is no separator
  };
  for (const auto& [path, expected] : names) {
    ASSERT_TRUE(UninstallEntryName(path, name)) << path;
    EXPECT_STREQ(expected, name);
  }
  EXPECT_FALSE(UninstallEntryName(".Default\\Software\\", name));
  EXPECT_FALSE(UninstallEntryName("\\lead", name));

  UninstallEntry entry{"Quillfen", u"1.4.2", u"Corvane", "C:\\Program Files\\Quillfen",
                       "C:\\Program Files\\Quillfen\\uninstall.exe", "C:\\Program Files\\Quillfen\\Quillfen.exe",
                       2048, "20261210"};
  ASSERT_TRUE(WriteUninstallEntry(*registry_, product_.c_str(), entry));
  ASSERT_TRUE(UninstallEntryName(product_.c_str(), name));
  const std::string key = std::string(kUninstallListKey) + "\\" + name;
  auto read = [&](const char* value) {
    char text[kPathCapacity] = "<absent>";
    uint32_t number = 0;
    auto opened = registry_->OpenOrCreate(RegistryRoot::kLocalMachine, key.c_str());
    if (opened->QueryNumber(value, &number)) return std::to_string(number);
    opened->QueryString(value, text, sizeof text);
    return std::string(text);
  };
  EXPECT_EQ("Quillfen", read("DisplayName"));
  EXPECT_EQ("1.4.2", read("DisplayVersion"));
  EXPECT_EQ("Corvane", read("Publisher"));
  EXPECT_EQ("\"C:\\Program Files\\Quillfen\\uninstall.exe\"", read("UninstallString"));
  EXPECT_EQ("C:\\Program Files\\Quillfen", read("InstallLocation"));
  EXPECT_EQ("C:\\Program Files\\Quillfen\\Quillfen.exe", read("DisplayIcon"));
  EXPECT_EQ("2048", read("EstimatedSize"));
  EXPECT_EQ("20261210", read("InstallDate"));
  EXPECT_EQ("1 1 1 4", read("NoModify") + " " + read("NoRepair") + " " + read("VersionMajor") + " " + read("VersionMinor"));

  // The next release rewrites the same entry.
  entry.displayVersion = u"12";
  ASSERT_TRUE(WriteUninstallEntry(*registry_, product_.c_str(), entry));
  EXPECT_EQ("12 0", read("VersionMajor") + " " + read("VersionMinor"));

  DeleteUninstallEntry(*registry_, product_.c_str());
  EXPECT_FALSE(KeyExists(*registry_, RegistryRoot::kLocalMachine, key.c_str()));
}

}  // namespace
}  // namespace setup
