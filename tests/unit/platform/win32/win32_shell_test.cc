// The Win32 shell against Wine's own: special folders, components, shortcut files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/text.h"
#include "install/shortcut_probe.h"
#include "platform/platform_fixture.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_shell.h"

namespace setup {
namespace {

bool IsFolder(const std::string& path) {
  std::wstring wide;
  DWORD attributes = ToWide(path.c_str(), &wide) ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

TEST(Win32Shell, FindsTheDesktopAndTheProgramsFolder) {
  Win32Shell shell;
  char desktop[kPathCapacity], programs[kPathCapacity];
  ASSERT_TRUE(shell.SpecialFolderPath(nullptr, SpecialFolder::kDesktop, desktop, sizeof desktop));
  ASSERT_TRUE(shell.SpecialFolderPath(nullptr, SpecialFolder::kPrograms, programs, sizeof programs));
  EXPECT_TRUE(IsFolder(desktop)) << desktop;
  EXPECT_TRUE(IsFolder(programs)) << programs;
  EXPECT_STRNE(desktop, programs);
  char tiny[4] = "old";
  EXPECT_FALSE(shell.SpecialFolderPath(nullptr, SpecialFolder::kDesktop, tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "");
}

TEST(Win32Shell, BalancesComponentsAndFailsToOpenWhatIsNotThere) {
  Win32Shell shell;
  ASSERT_GE(shell.BeginComponents(), 0);
  ASSERT_GE(shell.BeginComponents(), 0);  // again on the same thread: S_FALSE, still to be ended
  shell.EndComponents();
  shell.EndComponents();
  testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  EXPECT_FALSE(shell.Open(nullptr, folder.PathOf("missing.txt").c_str()));
}

// Writes a shortcut with a Japanese working directory (and target, where Wine's code page keeps
// it) and reads it back through the shell-link object. With SETUP_SHORTCUT_OUT set (Windows form),
// the shortcut is left there as wine.lnk, with wine.expected holding its target and working
// directory, one line each, for the host-side lnkinfo check.
TEST(Win32Shell, WritesShortcutsThatTheShellReadsBack) {
  testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const char* out = getenv("SETUP_SHORTCUT_OUT");
  const std::string where = out != nullptr && out[0] != '\0' ? out : folder.path();
  const std::string soft = "\x83\x5c\x83\x74\x83\x67";  // "ソフト"
  const std::string workingDirectory = "C:\\Program Files\\" + soft;
  const std::string target =
      (testing::ShellKeepsJapaneseTargets() ? workingDirectory : "C:\\Program Files\\Quillfen") + "\\Quillfen.exe";
  const std::string link = where + "\\wine.lnk";
  Win32Shell shell;
  ASSERT_GE(shell.BeginComponents(), 0);
  EXPECT_GE(shell.WriteShortcut(link.c_str(), target.c_str(), workingDirectory.c_str(), kShowNormal), 0);
  EXPECT_LT(shell.WriteShortcut(folder.PathOf("missing\\x.lnk").c_str(), target.c_str(), "C:\\", kShowNormal), 0);
  shell.EndComponents();

  testing::ShortcutFields fields;
  ASSERT_EQ(testing::ReadShortcut(link, &fields), testing::ShortcutRead::kRead);
  EXPECT_EQ(fields.target, target);
  EXPECT_EQ(fields.workingDirectory, workingDirectory);
  EXPECT_EQ(fields.showCommand, kShowNormal);

  if (out != nullptr && out[0] != '\0') {
    auto file = testing::MakeFileSystem()->OpenForWriting((where + "\\wine.expected").c_str(), WriteMode::kReplace);
    const std::string expected = target + "\n" + workingDirectory + "\n";
    ASSERT_TRUE(file != nullptr && file->Write(expected.data(), uint32_t(expected.size())) && file->Close(false));
  }
}

}  // namespace
}  // namespace setup
