// The one resolver both the install engine's pool and zarc's check ask whether two spellings name
// one file: each pair of the table gets the same answer from the pool's question (overlap) and
// from the check's (is the folder made as the first the folder of a file written into the second).
#include "base/windows_path.h"

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

struct Spellings {
  const char *a, *b;
  bool same;  // may be one file: certainly the same, or not certainly different
};

const Spellings kSpellings[] = {
    {"C:\\app\\a\\b.txt", "c:/APP/A/B.TXT", true},
    {"C:\\app\\dir.\\x", "C:\\app\\dir\\x", true},
    {"C:\\app\\x. . ", "C:\\app\\x", true},
    {"C:\\app\\dir \\x", "C:\\app\\dir\\x", true},  // Win32 keeps this space; erring toward one file
    {"C:\\app\\a\\\\b", "C:\\app\\a\\b", true},
    {"C:\\app\\.\\a\\x\\..\\b", "C:\\app\\a\\b", true},
    {"\\\\srv/share\\a", "//SRV\\share/./a", true},
    {"C:\\app\\\x82\x60", "C:\\app\\\x82\x81", true},    // full-width A and a
    {"C:\\app\\\x87\x54", "C:\\app\\\xfa\x4a", true},    // one Roman numeral, two codes
    {"C:\\app\\PROGRA~1", "C:\\app\\Program Files", true},  // a short name may be any
    {"C:\\app\\a\x82", "C:\\app\\b", true},             // a lead byte at the end: not certain
    {"C:\\app\\..\\..\\a", "C:\\b", true},              // above the root: not certain
    {"C:\\app\\...", "C:\\app\\b", true},               // dots alone: not certain
    {"\\\\?\\C:\\app\\x\\..\\a", "C:\\app\\a", true},    // a device path is taken as written
    // 0x5C as the trail byte of "ソ" (83 5C) separates nothing.
    {"C:\\app\\\x83\x5c" "a", "C:\\app\\\x83\x5c\\a", false},
    {"C:\\app\\\x83\x5c\\a", "C:\\app\\\x83\x5c/a", true},
    {"C:\\app\\\x83\x41", "C:\\app\\\x83\x61", false},  // "ア" and "ヂ": a trail byte is no letter
    {"C:\\app\\\x82\x60", "C:\\app\\\x82\x61", false},  // full-width A and B
    {"C:\\app\\a", "C:\\app\\b", false},
    {"C:\\app\\x\\..\\a", "C:\\app\\b", false},
    {"\\\\srv\\share\\a", "\\\\srv\\other\\a", false},
    {"\\\\srv\\share\\a", "C:\\srv\\share\\a", false},
};

TEST(WindowsPath, SpellingsOfOneFileAgreeForThePoolAndTheCheck) {
  for (const Spellings& s : kSpellings) {
    EXPECT_EQ(s.same, MayBeSameWindowsFile(s.a, s.b)) << s.a << " and " << s.b;
    EXPECT_EQ(s.same, MayBeSameWindowsFile(s.b, s.a)) << s.b << " and " << s.a;
    EXPECT_EQ(s.same, MayWindowsPathsOverlap(s.a, s.b)) << s.a << " and " << s.b;
    char made[kPathCapacity], folder[kPathCapacity];
    const std::string file = std::string(s.b) + "\\x.txt";
    const bool inIt = !ResolveWindowsPath(s.a, made) || !WindowsFolderOf(file.c_str(), folder) ||
                      std::string(made) == folder;
    EXPECT_EQ(s.same, inIt) << s.a << " made, " << file << " written";
  }
}

TEST(WindowsPath, ResolvesToOneFormAndGivesTheFolderAboveTheRoot) {
  char out[kPathCapacity];
  ASSERT_TRUE(ResolveWindowsPath("c:/Program Files\\\\x.\\\x83\x5c\x82\x81.TXT ", out));
  EXPECT_STREQ("C:\\PROGRAM FILES\\X\\\x83\x5c\x82\x60.TXT", out);
  ASSERT_TRUE(ResolveWindowsPath("//srv\\share/a/..", out));
  EXPECT_STREQ("\\\\SRV\\SHARE", out);
  EXPECT_FALSE(ResolveWindowsPath(("C:\\" + std::string(300, 'x')).c_str(), out));  // never cut

  ASSERT_TRUE(WindowsFolderOf("C:\\a\\b", out));
  EXPECT_STREQ("C:\\A", out);
  ASSERT_TRUE(WindowsFolderOf("C:\\a", out));
  EXPECT_STREQ("C:", out);
  ASSERT_TRUE(WindowsFolderOf("\\\\srv\\share\\a", out));
  EXPECT_STREQ("\\\\SRV\\SHARE", out);
  ASSERT_TRUE(WindowsFolderOf("C:\\\x83\x5c\\a", out));
  EXPECT_STREQ("C:\\\x83\x5c", out);
  for (const char* root : {"C:\\", "\\\\srv\\share\\", "name", "C:\\a\x82"}) {
    EXPECT_FALSE(WindowsFolderOf(root, out)) << root;
  }
  // The pool's question also holds a file and one beside it under a longer name.
  EXPECT_TRUE(MayWindowsPathsOverlap("C:\\app\\a.txt", "C:\\APP\\A.TXT.new1"));
  EXPECT_FALSE(MayBeSameWindowsFile("C:\\app\\a.txt", "C:\\APP\\A.TXT.new1"));
}

}  // namespace
}  // namespace setup
