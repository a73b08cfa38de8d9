#include "base/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

std::string Folded(std::string name) {
  FoldCp932Name(&name[0]);
  return name;
}

TEST(Cp932, NamesFoldEveryLetterWithACaseAndNothingElse) {
  EXPECT_EQ(Folded("setup.Txt"), "SETUP.TXT");
  // Full-width "ａｚ", Greek "αω", Cyrillic "аня" (both halves of its lower row), "ё".
  EXPECT_EQ(Folded("\x82\x81\x82\x9a\x83\xbf\x83\xd6\x84\x70\x84\x7e\x84\x91\x84\x76"),
            "\x82\x60\x82\x79\x83\x9f\x83\xb6\x84\x40\x84\x4e\x84\x60\x84\x46");
  // Trail bytes in the ASCII letter range ("ヂ" 83 61), hiragana, and the bytes just beside each
  // lower-case row stay as they are.
  for (const char* same : {"\x83\x61", "\x82\xa0", "\x82\x80\x82\x9b", "\x83\xbe\x83\xd7", "\x84\x6f\x84\x7f\x84\x92"}) {
    EXPECT_EQ(Folded(same), same);
  }
  EXPECT_EQ(Folded("a\x82"), "A\x82");  // a lead byte before the NUL reads no further
}

TEST(Cp932, SameNameComparesWholeCharacters) {
  EXPECT_TRUE(SameCp932Name("Files.zarc", "FILES.ZARC"));
  EXPECT_TRUE(SameCp932Name("\x82\x81", "\x82\x60"));
  EXPECT_FALSE(SameCp932Name("\x83\x41", "\x83\x61"));  // "ア" and "ヂ"
  EXPECT_FALSE(SameCp932Name("files", "files.zarc"));
  EXPECT_FALSE(SameCp932Name("files.zarc", "files"));
  EXPECT_FALSE(SameCp932Name("\x82", "\x82\x60"));
  EXPECT_TRUE(SameCp932Name("", ""));
}

}  // namespace
}  // namespace setup
