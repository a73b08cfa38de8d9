// Entry names split into the folders and file that extracting them makes.
#include <gtest/gtest.h>

#include "zarc/pack/entry_name.h"

namespace zarc {
namespace {

TEST(ZarcLayout, ExtractPathsSplitOnlyAtRealSeparators) {
  std::vector<std::string> parts;
  // ソフト\表.txt: the 5C of ソ is a trail byte, the lone one a separator.
  EXPECT_EQ(nullptr, SplitExtractPath("\x83\x5c\x83\x74\x83\x67\\\x95\x5c.txt", &parts));
  EXPECT_EQ((std::vector<std::string>{"\x83\x5c\x83\x74\x83\x67", "\x95\x5c.txt"}), parts);
  for (const char* bad : {"..", "a\\..", ". \\x", "\\x", "x\\", "D:x", "a:b", "a/b", ""}) {
    EXPECT_NE(nullptr, SplitExtractPath(bad, &parts)) << bad;
  }
  EXPECT_EQ(nullptr, SplitExtractPath("..a\\b..", &parts));
}

}  // namespace
}  // namespace zarc
