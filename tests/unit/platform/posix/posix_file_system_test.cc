// What only the host side can show: how Windows-form paths land on the host's disk, and the
// in-memory stand-in for the program's resources.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"

namespace setup::testing {
namespace {

const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";  // "ソフト" in code page 932

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup-posix-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    char* current = getcwd(nullptr, 0);
    saved_ = current;
    free(current);
    fs_.MapDrive('C', root_);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(saved_.c_str()), 0);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string Host(const std::string& path) {
    std::string host;
    return fs_.ToHostPath(path.c_str(), &host) ? host : "<refused>";
  }
  std::string Current() {
    char buffer[4096];
    return fs_.CurrentFolder(buffer, sizeof buffer) ? buffer : "<none>";
  }

  std::string root_, saved_;
  PosixFileSystem fs_;
};

TEST_F(PosixFileSystemTest, MapsDrivesAndSeparatorsButNotTrailBytes) {
  fs_.MapDrive('d', "/data/");
  EXPECT_EQ(Host("C:"), root_);
  EXPECT_EQ(Host("c:\\a\\b"), root_ + "/a/b");
  EXPECT_EQ(Host("D:\\x"), "/data/x");
  EXPECT_EQ(Host("C:\\" + kSoft + "\\f"), root_ + "/" + kSoft + "/f");
  EXPECT_EQ(Host("C:\\a\\\x83"), root_ + "/a/\x83");  // a cut-off lead byte stays a byte
  EXPECT_EQ(Host("rel\\x"), "rel/x");
  EXPECT_EQ(Host("/abs/x"), "/abs/x");
  EXPECT_EQ(Host("E:\\x"), "<refused>");
  EXPECT_EQ(Host("C:x"), "<refused>");
  fs_.MapDrive('C', "/");
  EXPECT_EQ(Host("C:"), "/");
  EXPECT_EQ(Host("C:\\etc"), "/etc");
}

TEST_F(PosixFileSystemTest, JapaneseFolderIsOneHostFolder) {
  ASSERT_TRUE(fs_.MakeFolder(("C:\\" + kSoft).c_str()));
  struct stat info;
  ASSERT_EQ(stat((root_ + "/" + kSoft).c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST_F(PosixFileSystemTest, CurrentFolderIsInWindowsFormOnlyUnderAMappedDrive) {
  ASSERT_EQ(mkdir((root_ + "/inner").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((root_ + "/inner/x").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((root_ + "/outside").c_str(), 0777), 0);
  fs_.MapDrive('C', root_ + "/inner");
  fs_.MapDrive('D', root_ + "/inner/x");
  ASSERT_EQ(chdir((root_ + "/inner").c_str()), 0);
  EXPECT_EQ(Current(), "C:\\");
  ASSERT_EQ(chdir((root_ + "/inner/x").c_str()), 0);
  EXPECT_EQ(Current(), "D:\\");  // the closest drive wins
  ASSERT_EQ(chdir((root_ + "/outside").c_str()), 0);
  EXPECT_EQ(Current(), root_ + "/outside");
}

TEST_F(PosixFileSystemTest, LinksToFoldersAreListedAndRemovedAsFiles) {
  ASSERT_EQ(mkdir((root_ + "/target").c_str(), 0777), 0);
  ASSERT_EQ(symlink("target", (root_ + "/link").c_str()), 0);
  struct : FolderVisitor {
    bool Visit(const FolderItem& item) override {
      if (std::string(item.name) == "link") linkIsFolder = item.isFolder;
      return true;
    }
    bool linkIsFolder = true;
  } visitor;
  ASSERT_TRUE(fs_.ListFolder("C:\\", visitor));
  EXPECT_FALSE(visitor.linkIsFolder);
  EXPECT_TRUE(fs_.RemoveFile("C:\\link"));
  struct stat info;
  EXPECT_EQ(stat((root_ + "/target").c_str(), &info), 0);
}

}  // namespace
}  // namespace setup::testing
