#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_view.h"
#include "fakes/test_archive.h"
#include "model/control_ids.h"
#include "model/package_layout.h"
#include "model/texts.h"
#include "ui/licence_dialog.h"
#include "ui/uninstall_dialog.h"

namespace setup {
namespace {

using testing::FakeView;

class LicenceDialogTest : public ::testing::Test {
 protected:
  // The text the dialog shows for a package holding these entries.
  std::string Shown(const std::vector<testing::TestEntry>& entries) {
    archive_.Close();
    resources_.Add(135, testing::BuildArchive(entries));
    EXPECT_TRUE(archive_.Open(files_, resources_, 135));
    FakeView view({IDC_OK, IDC_DISMISS, IDC_LICENCE_TEXT});
    LicenceDialog(view, archive_).Initialise();
    EXPECT_EQ(1u, view.texts.count(IDC_LICENCE_TEXT));
    return view.texts[IDC_LICENCE_TEXT];
  }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
  PackageArchive archive_;
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
  PackageArchive archive;
  LicenceDialog licence(licenceView, archive);
  FakeView uninstallView({});
  UninstallDialog uninstall(uninstallView, "C:\\Program Files\\Corvane\\Quillfen");
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
  for (const char* folder : {"C:\\Program Files\\Corvane\\Quillfen", ""}) {
    FakeView view({});
    UninstallDialog(view, folder).Initialise();
    EXPECT_EQ(folder, view.texts[IDC_FOLDER]);
  }
}

}  // namespace
}  // namespace setup
