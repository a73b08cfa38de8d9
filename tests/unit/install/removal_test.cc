// Recursive removal against the platform's real file system, and the paths it must refuse.
#include "install/removal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "install/tree_snapshot.h"
#include "platform/platform_fixture.h"

namespace setup {
namespace {

using testing::TreeSnapshot;

const std::string kFolder = "<folder>";
const std::string kSo = "\x83\x5c";  // "ソ": its trail byte is 0x5C

class RemovalTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  // folder\product holding files, nested folders, a dot file and a dot folder with content.
  std::string MakeProduct() {
    for (const char* name : {"product", "product\\sub", "product\\sub\\deeper", "product\\.git",
                             "product\\.git\\objects", "product\\empty"}) {
      EXPECT_TRUE(fs_->MakeFolder(folder_.PathOf(name).c_str())) << name;
    }
    for (const char* name : {"product\\a.exe", "product\\.profile", "product\\sub\\b.txt",
                             "product\\sub\\deeper\\c.txt", "product\\.git\\config", "product\\.git\\objects\\o"}) {
      EXPECT_TRUE(folder_.WriteFile(name, name)) << name;
    }
    return folder_.PathOf("product");
  }
  TreeSnapshot All() { return testing::Snapshot(*fs_, folder_.path()); }

  testing::TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = testing::MakeFileSystem();
};

TEST_F(RemovalTest, RemovesANestedTreeCompletely) {
  ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf("keep").c_str()));
  ASSERT_TRUE(folder_.WriteFile("keep.txt", "k"));
  for (const char* name : {"tree", "tree\\a", "tree\\a\\b", "tree\\a\\b\\c", "tree\\empty", "tree\\" "\x83\x5c"}) {
    ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf(name).c_str())) << name;
  }
  for (const char* name : {"tree\\top.txt", "tree\\a\\one", "tree\\a\\b\\c\\deep.txt", "tree\\" "\x83\x5c\\j"}) {
    ASSERT_TRUE(folder_.WriteFile(name, name)) << name;
  }
  DeleteFolderTree(*fs_, (folder_.PathOf("tree") + "\\").c_str());
  EXPECT_EQ(All(), (TreeSnapshot{{"keep", kFolder}, {"keep.txt", "k"}}));
}

TEST_F(RemovalTest, GoesIntoDotFolders) {
  const std::string product = MakeProduct();
  DeleteFolderTree(*fs_, (product + "\\").c_str());
  EXPECT_EQ(All(), TreeSnapshot());
}

TEST_F(RemovalTest, AReadOnlyFileKeepsItselfAndTheFoldersAboveIt) {
  const std::string product = MakeProduct();
  ASSERT_TRUE(testing::MakeReadOnly(folder_.PathOf("product\\sub\\deeper\\c.txt")));
  DeleteFolderTree(*fs_, (product + "\\").c_str());
  EXPECT_EQ(All(), (TreeSnapshot{{"product", kFolder},
                                 {"product\\sub", kFolder},
                                 {"product\\sub\\deeper", kFolder},
                                 {"product\\sub\\deeper\\c.txt", "product\\sub\\deeper\\c.txt"}}));
  ASSERT_TRUE(fs_->SetNormalAttributes(folder_.PathOf("product\\sub\\deeper\\c.txt").c_str()));
  DeleteFolderTree(*fs_, product.c_str());
  ASSERT_EQ(All(), TreeSnapshot());
}

TEST_F(RemovalTest, AFileInUseKeepsItselfAndTheFoldersAboveIt) {
  const std::string product = MakeProduct();
  auto running = testing::HoldOpen(folder_.PathOf("product\\sub\\b.txt"));
  if (running == nullptr) GTEST_SKIP() << "files cannot be held against deletion here";
  DeleteFolderTree(*fs_, (product + "\\").c_str());
  EXPECT_EQ(All(), (TreeSnapshot{{"product", kFolder}, {"product\\sub", kFolder}, {"product\\sub\\b.txt", "product\\sub\\b.txt"}}));
}

TEST_F(RemovalTest, AnEmptyFolderGoesAndAMissingOneOrAFileIsLeftAlone) {
  ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf("empty").c_str()));
  DeleteFolderTree(*fs_, folder_.PathOf("empty").c_str());
  DeleteFolderTree(*fs_, folder_.PathOf("missing\\").c_str());
  ASSERT_TRUE(folder_.WriteFile("file", "f"));
  DeleteFolderTree(*fs_, folder_.PathOf("file\\").c_str());
  EXPECT_EQ(All(), (TreeSnapshot{{"file", "f"}}));
}

TEST_F(RemovalTest, AMissingTrailingSeparatorIsAddedNeverTakenFromTheName) {
  // "ソ" ends in 0x5C: cutting "the last character" there would name another folder.
  const std::string japanese = folder_.PathOf(kSo);
  ASSERT_TRUE(fs_->MakeFolder(japanese.c_str()));
  ASSERT_TRUE(folder_.WriteFile(kSo + "\\inner.txt", "i"));
  ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf("plain").c_str()));
  ASSERT_TRUE(folder_.WriteFile("plain\\inner.txt", "i"));
  DeleteFolderTree(*fs_, japanese.c_str());
  DeleteFolderTree(*fs_, folder_.PathOf("plain").c_str());
  EXPECT_EQ(All(), TreeSnapshot());

}

TEST_F(RemovalTest, RootsAndRelativePathsAreRefusedUntouched) {
  const std::vector<std::string> refused = {
      "", "\\", "/", "\\\\", "C:", "C:\\", "c:/", "C:\\\\", "C:relative", "relative", "relative\\sub\\",
      ".", "..\\", "\\folder", "\\\\server\\share", "\\\\server\\share\\", "C:\\folder\\..", "C:\\folder\\.\\",
      "C:\\ \\", "C:\\folder\\\\", "C:\\folder\\\\name", "C:\\...",
      "C:\\" + std::string(300, 'x')};
  for (const std::string& path : refused) {
    testing::FakeFileSystem untouchable;
    DeleteFolderTree(untouchable, path.c_str());
    EXPECT_EQ(untouchable.calls(), 0) << "'" << path << "'";
  }
  // What an empty start-menu path would make of the Programs folder: refused, not emptied.
  ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf("Programs").c_str()));
  ASSERT_TRUE(folder_.WriteFile("Programs\\other.lnk", "another product's"));
  DeleteFolderTree(*fs_, (folder_.PathOf("Programs") + "\\\\").c_str());
  EXPECT_EQ(All(), (TreeSnapshot{{"Programs", kFolder}, {"Programs\\other.lnk", "another product's"}}));

  testing::FakeFileSystem accepted;
  DeleteFolderTree(accepted, "\\\\server\\share\\folder");
  DeleteFolderTree(accepted, "C:\\folder");
  EXPECT_GT(accepted.calls(), 0);
}

}  // namespace
}  // namespace setup
