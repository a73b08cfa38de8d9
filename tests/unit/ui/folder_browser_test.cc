#include "ui/folder_browser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/fake_file_system.h"
#include "fakes/fake_view.h"
#include "base/text.h"

namespace setup {
namespace {

using testing::BrowseScript;
using testing::FakeBrowser;

// In code page 932: "空き容量", and the requirement line for 8 MB, "＊8 MByte以上の空き容量が必要です".
const std::string kFree = "\x8b\xf3\x82\xab\x97\x65\x97\xca";
const std::string kNeeds8 =
    "\x81\x96" "8 MByte\x88\xc8\x8f\xe3\x82\xcc" + kFree + "\x82\xaa\x95\x4b\x97\x76\x82\xc5\x82\xb7";

constexpr uint64_t kMB = 1 << 20;

class FolderBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.freeBytes["C:\\"] = 3072 * kMB;
    files_.freeBytes["D:\\"] = 100 * kMB;
  }
  // One browse through the core's BrowseForFolder, with what the browser showed.
  const FakeBrowser& Browse(BrowseScript script, const char* startFolder) {
    shell_.browses.push_back(std::move(script));
    BrowseForFolder(files_, shell_, &owner_, startFolder, requiredMB_, browsedFolder_);
    return shell_.browsers.back();
  }

  testing::FakeFileSystem files_;
  testing::FakeShell shell_;
  int owner_ = 0;
  int32_t requiredMB_ = 8;
  char browsedFolder_[kPathCapacity] = {};
};

TEST_F(FolderBrowserTest, OpensAtTheStartFolderWithTheRequirementLineShown) {
  const FakeBrowser& browser = Browse({}, "C:\\Program Files\\Corvane");
  EXPECT_EQ(std::vector<std::string>({"C:\\Program Files\\Corvane"}), browser.selections);
  // Selecting reported the start folder first; the requirement line replaced it and stays.
  EXPECT_EQ(std::vector<std::string>({"C:\\Program Files\\Corvane \r\n" + kFree + ":[3.00 GByte]", kNeeds8}),
            browser.statusTexts);
  EXPECT_EQ(&owner_, browser.owner);

  for (const char* none : {"", static_cast<const char*>(nullptr)}) {
    const FakeBrowser& fresh = Browse({}, none);
    EXPECT_TRUE(fresh.selections.empty());
    EXPECT_EQ(std::vector<std::string>({kNeeds8}), fresh.statusTexts);
  }
}

TEST_F(FolderBrowserTest, EachSelectionShowsItsFolderAndFreeSpace) {
  const FakeBrowser& browser =
      Browse({{"D:\\Games", std::nullopt, "X:\\", "C:\\"}, std::string("C:\\")}, nullptr);
  ASSERT_EQ(5u, browser.statusTexts.size());
  EXPECT_EQ("D:\\Games \r\n" + kFree + ":[100.0 MByte]", browser.statusTexts[1]);
  EXPECT_EQ("", browser.statusTexts[2]);  // no file-system path: cleared
  EXPECT_EQ("X:\\ \r\n" + kFree + ":[-0.0 MByte]", browser.statusTexts[3]);
  EXPECT_EQ("C:\\ \r\n" + kFree + ":[3.00 GByte]", browser.statusTexts[4]);
  EXPECT_TRUE(browser.okEnabled);
  // A drive root keeps its backslash.
  EXPECT_STREQ("C:\\", browsedFolder_);
}

TEST_F(FolderBrowserTest, FoldersTheProgramCannotHoldCannotBeConfirmed) {
  FolderBrowser presenter(files_, nullptr, requiredMB_);
  FakeBrowser browser;
  presenter.SelectionChanged(browser, nullptr);
  EXPECT_FALSE(browser.okEnabled);
  presenter.SelectionChanged(browser, "D:\\Games");
  EXPECT_TRUE(browser.okEnabled);
  const std::string longest = "D:\\" + std::string(256, 'x');  // 259 bytes: fits
  presenter.SelectionChanged(browser, longest.c_str());
  EXPECT_TRUE(browser.okEnabled);
  const std::string tooLong = longest + "y";
  presenter.SelectionChanged(browser, tooLong.c_str());
  EXPECT_FALSE(browser.okEnabled);
  EXPECT_EQ(0u, browser.Status().find(tooLong + " \r\n"));
  presenter.OtherNotification(browser);
  EXPECT_EQ("", browser.Status());
}

TEST_F(FolderBrowserTest, CancellingLeavesNoFolderBehind) {
  strcpy(browsedFolder_, "D:\\Earlier");
  Browse({{"D:\\Games"}, std::nullopt}, "C:\\Program Files");
  EXPECT_STREQ("", browsedFolder_);

  // A browser that cannot be shown counts as a cancel, not as the earlier choice.
  strcpy(browsedFolder_, "D:\\Earlier");
  class NoBrowserShell : public testing::FakeShell {
    bool BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) override {
      return Shell::BrowseForFolder(owner, events, buffer, capacity);
    }
  } noBrowser;
  BrowseForFolder(files_, noBrowser, &owner_, "C:\\", requiredMB_, browsedFolder_);
  EXPECT_STREQ("", browsedFolder_);
}

}  // namespace
}  // namespace setup
