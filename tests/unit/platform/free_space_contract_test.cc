// Free bytes of a drive, measured by the real FileSystem of the platform: POSIX on the host (the
// folder mapped to the drive), Win32 under Wine.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform_fixture.h"

namespace setup::testing {
namespace {

TEST(FreeSpaceContract, MeasuresTheDriveOfARealFolder) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto fs = MakeFileSystem();
  const std::string root = folder.path().substr(0, 3);  // "C:\"
  uint64_t withSeparator = 0, bare = 0;
  ASSERT_TRUE(fs->FreeBytes(root.c_str(), &withSeparator)) << root;
  ASSERT_TRUE(fs->FreeBytes(root.substr(0, 2).c_str(), &bare));
  EXPECT_GT(withSeparator, 0u);
  // The same drive either way; other processes may write in between, so only roughly equal.
  const uint64_t slack = withSeparator / 20 + (64u << 20);
  EXPECT_LT(bare, withSeparator + slack);
  EXPECT_GT(bare + slack, withSeparator);
}

TEST(FreeSpaceContract, AnUnknownDriveCannotBeMeasured) {
  auto fs = MakeFileSystem();
  uint64_t bytes = 7;
  EXPECT_FALSE(fs->FreeBytes("Q:\\", &bytes));
  EXPECT_FALSE(fs->FreeBytes("Q:", &bytes));
  EXPECT_EQ(7u, bytes);
}

}  // namespace
}  // namespace setup::testing
