#include "ui/install_options_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/fake_file_system.h"
#include "fakes/fake_view.h"
#include "model/control_ids.h"
#include "model/installation.h"
#include "model/package_script.h"
#include "model/setup_choices.h"
#include "model/texts.h"

namespace setup {
namespace {

using testing::BrowseScript;
using testing::FakeView;

const std::string kFree = "\x8b\xf3\x82\xab\x97\x65\x97\xca";    // 空き容量
const std::string kNeeded = "\x95\x4b\x97\x76\x97\x65\x97\xca";  // 必要容量
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";            // ソフト: its first trail byte is '\'

constexpr uint64_t kMB = 1 << 20;

// The dialog's controls that show when its template opens.
std::set<int> OptionsControls() {
  return {IDC_OK, IDC_DISMISS, IDC_FREE_SPACE, IDC_FOLDER, IDC_CHANGE_FOLDER, IDC_START_MENU_LINKS,
          IDC_DESKTOP_LINK};
}

class InstallOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    strcpy(script_.defaultInstallDir, "C:\\Program Files\\Corvane\\Quillfen");
    strcpy(script_.mainFolderName, "Quillfen");
    strcpy(installation_.mainPath, "E:\\Old\\Quillfen");
    script_.requiredMB = 8;
    files_.freeBytes["C:\\"] = 1024 * kMB;
    files_.freeBytes["D:\\"] = 2048 * kMB;
  }
  InstallOptionsDialog& Open() {
    dialog_.Initialise();
    return dialog_;
  }
  // "変更" with one scripted browse that chooses choice (nullopt: Cancel).
  void Change(std::optional<std::string> choice) {
    shell_.browses.push_back({{}, std::move(choice)});
    EXPECT_TRUE(dialog_.Command(IDC_CHANGE_FOLDER));
  }

  testing::FakeFileSystem files_;
  testing::FakeShell shell_;
  FakeView view_{OptionsControls()};
  PackageScript script_ = {};
  Installation installation_ = {};
  SetupChoices choices_;
  InstallOptionsDialog dialog_{files_, shell_, view_, script_, installation_, choices_};
};

TEST_F(InstallOptionsTest, SetupLayoutOffersTheDefaultFolderAndTheFlagsAsTheyAre) {
  choices_.makeDesktopLink = 0;
  Open();
  EXPECT_EQ(OptionsControls(), view_.VisibleControls());
  EXPECT_EQ("", view_.caption);  // the template's own caption stays
  EXPECT_EQ(0u, view_.texts.count(IDC_OK));
  EXPECT_STREQ("C:\\Program Files\\Corvane\\Quillfen", choices_.installDir);
  EXPECT_EQ("C:\\Program Files\\Corvane\\Quillfen", view_.texts[IDC_FOLDER]);
  EXPECT_EQ(kFree + ":[1024.0 MByte] / " + kNeeded + ":[8 MByte]", view_.texts[IDC_FREE_SPACE]);
  EXPECT_EQ(std::set<int>({IDC_START_MENU_LINKS}), view_.checked);
}

TEST_F(InstallOptionsTest, VersionUpLayoutShowsTheInstalledFolderAndKeepsTheFlags) {
  choices_.versionUpMode = 1;
  choices_.makeStartMenuLinks = 0;
  choices_.showReadme = 1;
  files_.freeBytes["E:\\"] = 5 * kMB;
  Open();
  EXPECT_EQ("VersionUp", view_.caption);
  EXPECT_EQ(kVersionUpStartText, view_.texts[IDC_OK]);
  EXPECT_EQ(kVersionUpStopText, view_.texts[IDC_DISMISS]);
  EXPECT_EQ(std::set<int>({IDC_OK, IDC_DISMISS, IDC_FREE_SPACE, IDC_FOLDER}), view_.VisibleControls());
  EXPECT_STREQ("E:\\Old\\Quillfen", choices_.installDir);
  EXPECT_EQ("E:\\Old\\Quillfen", view_.texts[IDC_FOLDER]);
  EXPECT_EQ(kFree + ":[5.0 MByte] / " + kNeeded + ":[8 MByte]", view_.texts[IDC_FREE_SPACE]);

  EXPECT_TRUE(dialog_.Command(IDC_OK));
  EXPECT_EQ(std::vector<int>({IDC_OK}), view_.ended);
  EXPECT_EQ(0, choices_.makeStartMenuLinks);
  EXPECT_EQ(1, choices_.makeDesktopLink);
  EXPECT_EQ(0, choices_.showReadme);
}

TEST_F(InstallOptionsTest, ChangeBrowsesFromTheParentAndAppendsTheProductFolder) {
  Open();
  Change(std::string("D:\\Games"));
  ASSERT_EQ(1u, shell_.browsers.size());
  EXPECT_EQ(std::vector<std::string>({"C:\\Program Files\\Corvane"}), shell_.browsers[0].selections);
  EXPECT_EQ(view_.Handle(), shell_.browsers[0].owner);
  EXPECT_STREQ("D:\\Games\\Quillfen", choices_.installDir);
  EXPECT_EQ("D:\\Games\\Quillfen", view_.texts[IDC_FOLDER]);
  EXPECT_EQ(kFree + ":[2.00 GByte] / " + kNeeded + ":[8 MByte]", view_.texts[IDC_FREE_SPACE]);

  // A drive root loses its backslash before the name is joined.
  Change(std::string("D:\\"));
  EXPECT_EQ(std::vector<std::string>({"D:\\Games"}), shell_.browsers[1].selections);
  EXPECT_STREQ("D:\\Quillfen", choices_.installDir);
  // Browsing from a folder straight below a root starts at the bare drive.
  Change(std::nullopt);
  EXPECT_EQ(std::vector<std::string>({"D:"}), shell_.browsers[2].selections);
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(InstallOptionsTest, ACancelledBrowseKeepsTheFolderAndRefreshesTheFreeSpace) {
  Open();
  Change(std::string("D:\\Games"));
  files_.freeBytes["D:\\"] = 10 * kMB;  // the disk filled meanwhile
  Change(std::nullopt);
  EXPECT_STREQ("D:\\Games\\Quillfen", choices_.installDir);
  EXPECT_EQ("D:\\Games\\Quillfen", view_.texts[IDC_FOLDER]);
  EXPECT_EQ(kFree + ":[10.0 MByte] / " + kNeeded + ":[8 MByte]", view_.texts[IDC_FREE_SPACE]);
}

TEST_F(InstallOptionsTest, AFolderTooLongForTheProductIsRefused) {
  // 8-byte folder name: 219 + 8 + 32 = 259 still fits, 220 does not.
  Open();
  const std::string fits = "D:\\" + std::string(216, 'f');
  Change(fits);
  EXPECT_EQ(fits + "\\Quillfen", choices_.installDir);
  EXPECT_TRUE(view_.messages.empty());

  const std::string tooLong = "D:\\" + std::string(217, 'g');
  files_.freeBytes["D:\\"] = 1 * kMB;
  const std::string line = view_.texts[IDC_FREE_SPACE];
  Change(tooLong);
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kCannotMakeFolderText, view_.messages[0].text);
  EXPECT_EQ("SETUP", view_.messages[0].caption);
  EXPECT_EQ(uint32_t(kMessageOk), view_.messages[0].style);
  EXPECT_EQ(fits + "\\Quillfen", choices_.installDir);
  EXPECT_EQ(fits + "\\Quillfen", view_.texts[IDC_FOLDER]);
  EXPECT_EQ(line, view_.texts[IDC_FREE_SPACE]);  // not measured again
  EXPECT_TRUE(view_.ended.empty());
}

TEST_F(InstallOptionsTest, DoubleByteNamesAreNotCutAtTheirTrailBytes) {
  strcpy(script_.defaultInstallDir, ("C:\\" + kSoft + "\\Quillfen").c_str());
  strcpy(script_.mainFolderName, kSoft.c_str());
  Open();
  Change(std::string("D:\\" + kSoft.substr(0, 2)));  // a folder named "ソ" ends in 0x5C
  EXPECT_EQ(std::vector<std::string>({"C:\\" + kSoft}), shell_.browsers[0].selections);
  EXPECT_EQ("D:\\" + kSoft.substr(0, 2) + "\\" + kSoft, choices_.installDir);

  // A folder without any separator gives the browser no start folder.
  strcpy(script_.defaultInstallDir, kSoft.c_str());
  Open();
  Change(std::nullopt);
  EXPECT_TRUE(shell_.browsers[1].selections.empty());
}

TEST_F(InstallOptionsTest, EachOpeningStartsAgainFromTheDefault) {
  Open();
  Change(std::string("D:\\Games"));
  EXPECT_TRUE(dialog_.Command(IDC_DISMISS));
  EXPECT_EQ(std::vector<int>({IDC_DISMISS}), view_.ended);
  EXPECT_STREQ("D:\\Games\\Quillfen", choices_.installDir);  // kept until the next opening

  FakeView again(OptionsControls());
  InstallOptionsDialog reopened(files_, shell_, again, script_, installation_, choices_);
  reopened.Initialise();
  EXPECT_EQ("C:\\Program Files\\Corvane\\Quillfen", again.texts[IDC_FOLDER]);
  EXPECT_STREQ("C:\\Program Files\\Corvane\\Quillfen", choices_.installDir);
}

TEST_F(InstallOptionsTest, OkTakesTheCheckBoxesAndCancelLeavesTheFlags) {
  choices_.showReadme = 1;
  Open();
  view_.SetChecked(IDC_START_MENU_LINKS, false);
  view_.SetChecked(IDC_DESKTOP_LINK, false);
  EXPECT_TRUE(dialog_.Command(IDC_DISMISS));
  EXPECT_EQ(1, choices_.makeStartMenuLinks);
  EXPECT_EQ(1, choices_.makeDesktopLink);
  EXPECT_EQ(1, choices_.showReadme);

  EXPECT_TRUE(dialog_.Command(IDC_OK));
  EXPECT_EQ(std::vector<int>({IDC_DISMISS, IDC_OK}), view_.ended);
  EXPECT_EQ(0, choices_.makeStartMenuLinks);
  EXPECT_EQ(0, choices_.makeDesktopLink);
  EXPECT_EQ(0, choices_.showReadme);

  view_.SetChecked(IDC_DESKTOP_LINK, true);
  EXPECT_TRUE(dialog_.Command(IDC_OK));
  EXPECT_EQ(0, choices_.makeStartMenuLinks);
  EXPECT_EQ(1, choices_.makeDesktopLink);
  EXPECT_FALSE(dialog_.Command(IDC_FREE_SPACE));
}

}  // namespace
}  // namespace setup
