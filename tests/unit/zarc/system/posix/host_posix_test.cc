// On POSIX, names are UTF-8 on the command line and on disk and code page 932 in the archive.
#include <gtest/gtest.h>

#include "fakes/test_archive.h"
#include "platform/platform_fixture.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::testing::BuildArchive;
using setup::testing::Bytes;
using setup::testing::MakeFileSystem;
using setup::testing::TempFolder;

TEST(ZarcUtf8Names, NamesWithoutACodePage932FormAreRefused) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto files = MakeFileSystem();
  ASSERT_TRUE(folder.WriteFile("café.txt", "x"));  // é has no code page 932 form
  const RunResult run = Zarc(*files, {"create", folder.PathOf("o.zarc"), folder.PathOf("café.txt")});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("café.txt")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("no code page 932 form")) << run.err;
  EXPECT_EQ(std::vector<std::string>{"café.txt"}, FolderNames(*files, folder.path()));
}

TEST(ZarcUtf8Names, BytesThatAreNotCodePage932AreShownAndNotExtracted) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto files = MakeFileSystem();
  const std::vector<uint8_t> image = BuildArchive({{"bad\xff.txt", Bytes("x")}, {"ok.txt", Bytes("y")}});
  ASSERT_TRUE(folder.WriteFile("a.zarc", std::string(image.begin(), image.end())));
  const RunResult list = Zarc(*files, {"list", folder.PathOf("a.zarc")});
  EXPECT_NE(std::string::npos, list.out.find("bad\\xFF.txt")) << list.out;
  const RunResult run = Zarc(*files, {"extract", "-C", folder.PathOf("out"), folder.PathOf("a.zarc")});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("not valid code page 932")) << run.err;
  EXPECT_EQ(std::vector<std::string>{"ok.txt"}, FolderNames(*files, folder.PathOf("out")));
}

}  // namespace
}  // namespace zarc::testing
