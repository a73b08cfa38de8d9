#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_view.h"
#include "fakes/test_archive.h"
#include "model/control_ids.h"
#include "model/setup_state.h"
#include "model/texts.h"
#include "ui/licence_dialog.h"
#include "ui/uninstall_dialog.h"

namespace setup {
namespace {

using testing::FakeView;

class LicenceDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { ClosePackage(); }

  // The text the dialog shows for a package holding these entries.
  std::string Shown(const std::vector<testing::TestEntry>& entries) {
    ClosePackage();
    resources_.Add(135, testing::BuildArchive(entries));
    EXPECT_TRUE(OpenPackage(files_, resources_, 135));
    FakeView view({IDC_OK, IDC_DISMISS, IDC_LICENCE_TEXT});
    LicenceDialog(view).Initialise();
    EXPECT_EQ(1u, view.texts.count(IDC_LICENCE_TEXT));
    return view.texts[IDC_LICENCE_TEXT];
  }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
};

TEST_F(LicenceDialogTest, ShowsTheWholeLicenceWithItsLineBreaks) {
  const std::string text = "\x8e\x67\x97\x70\x8b\x96\x91\xf8\r\n\r\nline 2\r\n";  // 使用許諾
  EXPECT_EQ(text, Shown({{kLicenceEntry, testing::Bytes(text)}}));

  // Far beyond 4 KiB, all of it and nothing more.
  std::string longText;
  for (int line = 0; longText.size() < 20000; ++line) longText += "Article " + std::to_string(line) + "\r\n";
  EXPECT_EQ(longText, Shown({{kLicenceEntry, testing::Bytes(longText)}}));
}

TEST_F(LicenceDialogTest, AZeroByteEndsTheTextAndAMissingEntryShowsNothing) {
  EXPECT_EQ("before", Shown({{kLicenceEntry, testing::Bytes(std::string("before\0after", 12))}}));
  EXPECT_EQ("", Shown({{kLicenceEntry, {}}}));
  EXPECT_EQ("", Shown({{"readme.txt", testing::Bytes("not the licence")}}));
}

TEST(LicenceAndUninstallDialogs, EndWithTheButtonPressedAndNothingElse) {
  FakeView licenceView({});
  LicenceDialog licence(licenceView);
  FakeView uninstallView({});
  UninstallDialog uninstall(uninstallView);
  for (int id : {IDC_FOLDER, IDC_LICENCE_TEXT, 0}) {
    EXPECT_FALSE(licence.Command(id)) << id;
    EXPECT_FALSE(uninstall.Command(id)) << id;
  }
  EXPECT_TRUE(licence.Command(IDC_DISMISS));
  EXPECT_TRUE(licence.Command(IDC_OK));
  EXPECT_EQ(std::vector<int>({IDC_DISMISS, IDC_OK}), licenceView.ended);
  EXPECT_TRUE(uninstall.Command(IDC_DISMISS));
  EXPECT_TRUE(uninstall.Command(IDC_OK));
  EXPECT_EQ(std::vector<int>({IDC_DISMISS, IDC_OK}), uninstallView.ended);
}

TEST(UninstallDialog, ShowsTheInstalledFolderWhateverItHolds) {
  ResetSetupState();
  for (const char* folder : {"C:\\Program Files\\Corvane\\Quillfen", ""}) {
    strcpy(setupState.mainPath, folder);
    FakeView view({});
    UninstallDialog(view).Initialise();
    EXPECT_EQ(folder, view.texts[IDC_FOLDER]);
  }
  ResetSetupState();
}

}  // namespace
}  // namespace setup
