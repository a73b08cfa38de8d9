// The host's stand-ins: configured special folders, the .lnk writer's refusals, and removal
// that deletes links without following them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "install/removal.h"
#include "platform/platform_fixture.h"
#include "platform/memory/host_shell.h"
#include "platform/memory/lnk_writer.h"
#include "platform/posix/posix_file_system.h"

namespace setup {
namespace {

TEST(HostShell, SpecialFoldersAreUnknownUntilConfigured) {
  auto fs = testing::MakeFileSystem();
  HostShell shell(*fs);
  char buffer[kPathCapacity] = "stale";
  EXPECT_FALSE(shell.SpecialFolderPath(nullptr, SpecialFolder::kDesktop, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
  shell.SetSpecialFolder(SpecialFolder::kPrograms, "C:\\Start Menu\\Programs");
  EXPECT_FALSE(shell.SpecialFolderPath(nullptr, SpecialFolder::kDesktop, buffer, sizeof buffer));
  ASSERT_TRUE(shell.SpecialFolderPath(nullptr, SpecialFolder::kPrograms, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C:\\Start Menu\\Programs");
  EXPECT_FALSE(shell.SpecialFolderPath(nullptr, SpecialFolder::kPrograms, buffer, 10));  // does not fit
}

TEST(HostShell, RefusesTextThatIsNotCodePage932AndWritesNoFile) {
  testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto fs = testing::MakeFileSystem();
  HostShell shell(*fs);
  const std::string link = folder.PathOf("a.lnk");
  EXPECT_LT(shell.WriteShortcut(link.c_str(), "C:\\bad\x81", "C:\\", kShowNormal), 0);  // a lead byte alone
  EXPECT_LT(shell.WriteShortcut(link.c_str(), ("C:\\" + std::string(300, 'x')).c_str(), "C:\\", kShowNormal), 0);
  EXPECT_LT(shell.WriteShortcut(folder.PathOf("missing\\a.lnk").c_str(), "C:\\a.exe", "C:\\", kShowNormal), 0);
  uint64_t size = 0;
  EXPECT_FALSE(fs->FileSize(link.c_str(), &size));

  std::vector<uint8_t> bytes;
  EXPECT_TRUE(BuildShortcutFile("C:\\a.exe", "C:\\", 7, &bytes));
  ASSERT_GE(bytes.size(), 64u);
  EXPECT_EQ(bytes[60], 7);  // the show command asked for, not a constant
}

TEST(PosixRemoval, LinksAreDeletedNotFollowed) {
  testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto fs = testing::MakeFileSystem();
  std::string outside, product;
  auto& posix = static_cast<PosixFileSystem&>(*fs);
  ASSERT_TRUE(fs->MakeFolder(folder.PathOf("outside").c_str()));
  ASSERT_TRUE(folder.WriteFile("outside\\precious.txt", "keep me"));
  ASSERT_TRUE(posix.ToHostPath(folder.PathOf("outside").c_str(), &outside));
  ASSERT_TRUE(fs->MakeFolder(folder.PathOf("product").c_str()));
  ASSERT_TRUE(posix.ToHostPath(folder.PathOf("product").c_str(), &product));
  ASSERT_EQ(symlink(outside.c_str(), (product + "/link").c_str()), 0);
  ASSERT_EQ(symlink((outside + "/precious.txt").c_str(), (product + "/file-link").c_str()), 0);
  DeleteFolderTree(*fs, folder.PathOf("product\\").c_str());
  EXPECT_NE(access(product.c_str(), F_OK), 0);
  std::string kept;
  EXPECT_TRUE(folder.ReadFile("outside\\precious.txt", &kept));
  EXPECT_EQ(kept, "keep me");
}

}  // namespace
}  // namespace setup
