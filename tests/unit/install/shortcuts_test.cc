// Shortcuts: which files are made where, through a recording shell, and then real shortcut files
// from the platform's own shell read back by a reader that shares none of our code.
#include "install/shortcuts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/shortcut_probe.h"
#include "install/tree_snapshot.h"
#include "model/package_script.h"
#include "platform/platform_fixture.h"

namespace setup {
namespace {

using testing::TreeSnapshot;

const std::string kFolder = "<folder>";
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";  // "ソフト"
const std::string kReadmeLink = "ReadMe\x82\xf0\x93\xc7\x82\xde";  // "ReadMeを読む"

struct Written {
  std::string link, target, workingDirectory;
  int showCommand;
  bool componentsBegun;
  bool operator==(const Written& other) const {
    return link == other.link && target == other.target && workingDirectory == other.workingDirectory &&
           showCommand == other.showCommand && componentsBegun == other.componentsBegun;
  }
};

std::ostream& operator<<(std::ostream& out, const Written& w) {
  return out << "{" << w.link << " -> " << w.target << " in " << w.workingDirectory << ", show " << w.showCommand
             << (w.componentsBegun ? "" : ", components not begun") << "}";
}

// Records what the engine asks of the shell; special folders are whatever the test sets.
class RecordingShell : public Shell {
 public:
  bool SpecialFolderPath(void*, SpecialFolder folder, char* buffer, uint32_t capacity) override {
    const std::string& path = folder == SpecialFolder::kDesktop ? desktop : programs;
    return !path.empty() && CopyText(buffer, capacity, path.c_str());
  }
  int32_t BeginComponents() override {
    ++begins;
    if (beginResult >= 0) ++depth;
    return beginResult;
  }
  void EndComponents() override {
    ++ends;
    --depth;
  }
  int32_t WriteShortcut(const char* link, const char* target, const char* folder, int show) override {
    written.push_back({link, target, folder, show, depth > 0});
    return kShellOk;
  }
  bool Open(void*, const char*) override { return false; }

  std::string desktop, programs;
  int32_t beginResult = kShellOk;
  int begins = 0, ends = 0, depth = 0;
  std::vector<Written> written;
};

void Set(char* field, const std::string& value) { ASSERT_TRUE(CopyText(field, kPathCapacity, value.c_str())); }

class ShortcutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    ASSERT_TRUE(fs_->MakeFolder(Programs().c_str()));
    ASSERT_TRUE(fs_->MakeFolder(Desktop().c_str()));
    shell_.programs = Programs();
    shell_.desktop = Desktop();
    Set(installDir_, "C:\\Program Files\\Corvane\\" + kSoft);
    Set(startMenuPath_, "Corvane\\Quillfen");
    Set(script_.programLinkName, "Quillfen");
    Set(script_.readmeLinkName, kReadmeLink);
    Set(script_.executableName, "Quillfen.exe");
    Set(script_.uninstallerName, "uninstall.exe");
    Set(script_.readmeName, "readme.chm");
  }
  ShortcutPlan Plan() const { return ShortcutPlan{script_, startMenuPath_, installDir_}; }

  std::string Programs() const { return folder_.PathOf("Programs"); }
  std::string Desktop() const { return folder_.PathOf("Desktop"); }
  std::string Installed(const std::string& name) const { return std::string(installDir_) + "\\" + name; }
  Written Link(const std::string& link, const std::string& name) const {
    return {link, Installed(name), installDir_, 1, true};
  }
  TreeSnapshot All() { return testing::Snapshot(*fs_, folder_.path()); }

  testing::TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = testing::MakeFileSystem();
  RecordingShell shell_;
  PackageScript script_ = {};
  TextField startMenuPath_ = {};
  TextField installDir_ = {};
};

TEST_F(ShortcutsTest, StartMenuLinksGoIntoAFolderMadeWithEveryLevel) {
  EXPECT_TRUE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  const std::string menu = Programs() + "\\Corvane\\Quillfen\\";
  EXPECT_EQ(shell_.written, (std::vector<Written>{
                                Link(menu + "Quillfen.lnk", "Quillfen.exe"),
                                Link(menu + "Quillfen\xB1\xDD\xB2\xDD\xBD\xC4\xB0\xD7\xB0.lnk", "uninstall.exe"),
                                Link(menu + kReadmeLink + ".lnk", "readme.chm"),
                            }));
  EXPECT_EQ(All(), (TreeSnapshot{{"Desktop", kFolder},
                                 {"Programs", kFolder},
                                 {"Programs\\Corvane", kFolder},
                                 {"Programs\\Corvane\\Quillfen", kFolder}}));
  EXPECT_EQ(shell_.begins, 1);
  EXPECT_EQ(shell_.ends, 1);
}

TEST_F(ShortcutsTest, FilesNotNamedGetNoShortcutButTheFolderIsStillMade) {
  Set(script_.uninstallerName, "");
  Set(script_.readmeName, "");
  EXPECT_TRUE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  EXPECT_EQ(shell_.written, (std::vector<Written>{Link(Programs() + "\\Corvane\\Quillfen\\Quillfen.lnk", "Quillfen.exe")}));

  shell_.written.clear();
  Set(script_.executableName, "");
  Set(startMenuPath_, "Other");
  EXPECT_TRUE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  EXPECT_TRUE(shell_.written.empty());
  EXPECT_EQ(All().count("Programs\\Other"), 1u);
  EXPECT_EQ(shell_.begins, shell_.ends);
}

TEST_F(ShortcutsTest, WithoutAStartMenuPathTheLinksGoStraightIntoPrograms) {
  Set(startMenuPath_, "");
  Set(script_.uninstallerName, "");
  Set(script_.readmeName, "");
  EXPECT_TRUE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  EXPECT_EQ(shell_.written, (std::vector<Written>{Link(Programs() + "\\Quillfen.lnk", "Quillfen.exe")}));
}

TEST_F(ShortcutsTest, TheDesktopGetsTheProgramLinkOnlyWhenThereIsAProgram) {
  EXPECT_TRUE(CreateDesktopLink(shell_, nullptr, Plan()));
  EXPECT_EQ(shell_.written, (std::vector<Written>{Link(Desktop() + "\\Quillfen.lnk", "Quillfen.exe")}));

  shell_.written.clear();
  Set(script_.executableName, "");
  EXPECT_FALSE(CreateDesktopLink(shell_, nullptr, Plan()));
  EXPECT_TRUE(shell_.written.empty());
  EXPECT_EQ(shell_.begins, 2);
  EXPECT_EQ(shell_.ends, 2);
}

TEST_F(ShortcutsTest, ComponentsThatCannotStartMakeNoShortcutAndAreNotEnded) {
  shell_.beginResult = int32_t(0x8001010E);  // RPC_E_WRONG_THREAD, say
  EXPECT_FALSE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  EXPECT_FALSE(CreateDesktopLink(shell_, nullptr, Plan()));
  EXPECT_TRUE(shell_.written.empty());
  EXPECT_EQ(shell_.ends, 0);
  EXPECT_EQ(All().count("Programs\\Corvane\\Quillfen"), 1u);  // the folder comes first
}

TEST_F(ShortcutsTest, AFolderTheShellCannotFindGetsNothing) {
  shell_.programs.clear();
  shell_.desktop.clear();
  const TreeSnapshot before = All();
  EXPECT_FALSE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  EXPECT_FALSE(CreateDesktopLink(shell_, nullptr, Plan()));
  EXPECT_TRUE(shell_.written.empty());
  EXPECT_EQ(shell_.begins, 0);
  EXPECT_EQ(All(), before);
}

TEST_F(ShortcutsTest, LinksWhosePathsWouldPassTheLimitAreLeftOut) {
  const std::string menu = Programs() + "\\Corvane\\Quillfen\\";
  // The program's link name leaves the program's shortcut exactly at 259 bytes, which the
  // uninstaller's suffix then passes.
  Set(script_.programLinkName, std::string(259 - menu.size() - 4, 'n'));
  EXPECT_TRUE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  ASSERT_EQ(shell_.written.size(), 2u);
  EXPECT_EQ(shell_.written[0].link.size(), 259u);
  EXPECT_EQ(shell_.written[1], Link(menu + kReadmeLink + ".lnk", "readme.chm"));

  shell_.written.clear();
  Set(startMenuPath_, std::string(259 - Programs().size(), 's'));  // one byte too long with its '\'
  const TreeSnapshot before = All();
  EXPECT_FALSE(CreateStartMenuLinks(*fs_, shell_, nullptr, Plan()));
  EXPECT_TRUE(shell_.written.empty());
  EXPECT_EQ(All(), before);
}

TEST_F(ShortcutsTest, ThePlatformShellWritesShortcutsThatAnotherReaderUnderstands) {
  if (!testing::ShellKeepsJapaneseTargets()) Set(installDir_, "C:\\Program Files\\Corvane\\Quillfen");
  auto shell = testing::MakePlatformShell(Desktop(), Programs());
  EXPECT_TRUE(CreateStartMenuLinks(*fs_, *shell, nullptr, Plan()));
  EXPECT_TRUE(CreateDesktopLink(*shell, nullptr, Plan()));
  const std::string menu = Programs() + "\\Corvane\\Quillfen\\";
  const std::vector<std::pair<std::string, std::string>> expected = {
      {menu + "Quillfen.lnk", "Quillfen.exe"},
      {menu + "Quillfen\xB1\xDD\xB2\xDD\xBD\xC4\xB0\xD7\xB0.lnk", "uninstall.exe"},
      {menu + kReadmeLink + ".lnk", "readme.chm"},
      {Desktop() + "\\Quillfen.lnk", "Quillfen.exe"}};
  for (const auto& [link, name] : expected) {
    testing::ShortcutFields fields;
    testing::ShortcutRead read = testing::ReadShortcut(link, &fields);
    if (read == testing::ShortcutRead::kNoReader) GTEST_SKIP() << "no shortcut reader here (install liblnk-utils)";
    ASSERT_EQ(read, testing::ShortcutRead::kRead) << link;
    EXPECT_EQ(fields.target, Installed(name)) << link;
    EXPECT_EQ(fields.workingDirectory, installDir_) << link;
    EXPECT_EQ(fields.showCommand, 1) << link;
  }
  EXPECT_EQ(All().size(), 8u);  // the two folders, the menu's two levels and the four files
}

}  // namespace
}  // namespace setup
