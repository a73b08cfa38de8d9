// zarc zfil: a file the setup program's reader decompresses back to the input.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "fakes/test_archive.h"
#include "platform/platform_fixture.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::testing::MakeFileSystem;
using setup::testing::PseudoRandom;
using setup::testing::TempFolder;

TEST(ZarcZfil, ReaderGivesBackTheInput) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto files = MakeFileSystem();
  const std::string long_name(52, 'n');
  for (const std::string& content : {std::string(), std::string(300000, 'z'),
                                     std::string(reinterpret_cast<const char*>(PseudoRandom(70000, 4).data()), 70000)}) {
    ASSERT_TRUE(folder.WriteFile("in.dat", content));
    ASSERT_EQ(0, Zarc(*files, {"zfil", folder.PathOf("in.dat"), folder.PathOf("out.zfil")}).status);
    std::string file;
    ASSERT_TRUE(folder.ReadFile("out.zfil", &file));
    EXPECT_TRUE(ReadZfilBack(file) == content) << content.size();
    // Header, then the stream and nothing after it.
    EXPECT_EQ(file.size(), 64 + setup::LoadLE32(reinterpret_cast<const uint8_t*>(&file[4])));
    EXPECT_EQ(std::string("in.dat") + std::string(46, '\0'), file.substr(12, 52));
    EXPECT_EQ("\x78\xDA", file.substr(64, 2));
    EXPECT_EQ(0, Zarc(*files, {"test", folder.PathOf("out.zfil")}).status);
  }
  // A name that does not fit leaves the field zero; the reader does not mind.
  ASSERT_TRUE(folder.WriteFile(long_name, "abc"));
  ASSERT_EQ(0, Zarc(*files, {"zfil", folder.PathOf(long_name), folder.PathOf("out.zfil")}).status);
  std::string file;
  ASSERT_TRUE(folder.ReadFile("out.zfil", &file));
  EXPECT_EQ(std::string(52, '\0'), file.substr(12, 52));
  EXPECT_EQ("abc", ReadZfilBack(file));

  // A missing input leaves the earlier output as it was and no temporary file.
  const std::vector<std::string> before = FolderNames(*files, folder.path());
  const RunResult run = Zarc(*files, {"zfil", folder.PathOf("gone.dat"), folder.PathOf("out.zfil")});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("gone.dat")) << run.err;
  EXPECT_EQ(before, FolderNames(*files, folder.path()));
  std::string after;
  ASSERT_TRUE(folder.ReadFile("out.zfil", &after));
  EXPECT_EQ(file, after);

  // A ZFIL whose stream is cut short fails the test command.
  ASSERT_TRUE(folder.WriteFile("cut.zfil", file.substr(0, file.size() - 1)));
  EXPECT_EQ(1, Zarc(*files, {"test", folder.PathOf("cut.zfil")}).status);
}

}  // namespace
}  // namespace zarc::testing
