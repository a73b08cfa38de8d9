// zarc create: archives that the setup program's own reader gives back byte for byte, and every
// refusal leaving the folder as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "archive/package_archive.h"
#include "fakes/test_archive.h"
#include "platform/platform_fixture.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::testing::MakeFileSystem;
using setup::testing::PseudoRandom;
using setup::testing::TempFolder;

const std::string kLicence = "\x93\xaf\x88\xd3\x8f\x91.txt";  // 同意書.txt in code page 932

class ZarcCreate : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  std::string Put(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(folder_.WriteFile(name, bytes));
    return folder_.PathOf(name);
  }

  // Runs create; expects a refusal that names subject and says reason, and that the folder holds
  // exactly what it held before.
  void ExpectRefused(const std::vector<std::string>& args, const std::string& subject,
                     const std::string& reason) {
    const std::vector<std::string> before = FolderNames(*files_, folder_.path());
    std::vector<std::string> all{"create", out_};
    all.insert(all.end(), args.begin(), args.end());
    const RunResult run = Zarc(*files_, all);
    EXPECT_EQ(1, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(subject)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(reason)) << run.err;
    EXPECT_EQ(before, FolderNames(*files_, folder_.path()));
  }

  TempFolder folder_;
  std::unique_ptr<setup::FileSystem> files_ = MakeFileSystem();
  std::string out_ = folder_.PathOf("out.zarc");
};

TEST_F(ZarcCreate, ReaderGivesBackEveryFileByteForByte) {
  const std::string random(reinterpret_cast<const char*>(PseudoRandom(1 << 20, 7).data()), 1 << 20);
  const std::string text = "#T=Quillfen\r\n#I=Quillfen.exe\r\n";
  const RunResult run = Zarc(*files_, {"create", out_, Put("empty.bin", ""), Put("big.bin", random),
                                       Put(HostForm(kLicence), "\x93\xaf\x88\xd3"), "--as",
                                       "data\\setup.txt", Put("s.txt", text)});
  ASSERT_EQ(0, run.status) << run.err;

  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  ASSERT_EQ(4u, entries.size());
  const std::vector<std::pair<std::string, std::string>> expected{
      {"empty.bin", ""}, {"big.bin", random}, {kLicence, "\x93\xaf\x88\xd3"}, {"data\\setup.txt", text}};
  uint32_t next = 8 + 64 * 4;  // streams follow the index back to back, in index order
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(expected[i].first, entries[i].name);
    EXPECT_TRUE(entries[i].inflated) << i;
    EXPECT_TRUE(entries[i].data == expected[i].second) << i;
    EXPECT_EQ(next, entries[i].offset);
    EXPECT_EQ("\x78\xDA", image.substr(entries[i].offset, 2)) << "best compression, " << i;
    next += entries[i].storedSize;
  }
  EXPECT_EQ(next, image.size());
  EXPECT_EQ(0, Zarc(*files_, {"test", out_}).status);
}

TEST_F(ZarcCreate, SameInputsGiveTheSameBytes) {
  const std::string a = Put("a.bin", std::string(5000, 'a') + "tail");
  const std::string b = Put("b.bin", "bee");
  ASSERT_EQ(0, Zarc(*files_, {"create", out_, a, b, "--external", "x.dat"}).status);
  std::string first, second;
  ASSERT_TRUE(folder_.ReadFile("out.zarc", &first));
  ASSERT_EQ(0, Zarc(*files_, {"create", folder_.PathOf("again.zarc"), a, b, "--external", "x.dat"}).status);
  ASSERT_TRUE(folder_.ReadFile("again.zarc", &second));
  EXPECT_EQ(first, second);
}

TEST_F(ZarcCreate, ExternalRecordsKeepTheirPlaceAndHoldNoData) {
  const RunResult run = Zarc(*files_, {"create", out_, "--external", "first.dat", Put("a.txt", "aaa"),
                                       "--external", HostForm(kLicence), Put("b.txt", "bbbb")});
  ASSERT_EQ(0, run.status) << run.err;
  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  ASSERT_EQ(4u, entries.size());
  for (size_t i : {0u, 2u}) {
    EXPECT_EQ(0u, entries[i].offset + entries[i].storedSize + entries[i].fullSize) << i;
  }
  EXPECT_EQ("first.dat", entries[0].name);
  EXPECT_EQ(kLicence, entries[2].name);
  EXPECT_EQ(8u + 64 * 4, entries[1].offset);
  EXPECT_EQ(entries[1].offset + entries[1].storedSize, entries[3].offset);
  EXPECT_EQ("bbbb", entries[3].data);
  EXPECT_NE(std::string::npos, Zarc(*files_, {"list", out_}).out.find("external"));

  std::vector<std::string> full{"create", out_};
  for (uint32_t i = 0; i < setup::kMaxArchiveEntries; ++i) full.insert(full.end(), {"--external", "e" + std::to_string(i)});
  ASSERT_EQ(0, Zarc(*files_, full).status);
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  EXPECT_EQ(65535u, entries.size());
}

TEST_F(ZarcCreate, NameLimitsCountCodePage932BytesAndCaseMatters) {
  const std::string file = Put("f.bin", "data");
  // 20 double-byte characters and ".txt": 44 bytes in code page 932, 64 in UTF-8.
  std::string kanji44;
  for (int i = 0; i < 20; ++i) kanji44 += "\x88\xa2";
  kanji44 += ".txt";
  const RunResult run = Zarc(*files_, {"create", out_, "--as", std::string(51, 'n'), file,
                                       "--as", HostForm(kanji44), file, "--as", "F.bin", file, file});
  ASSERT_EQ(0, run.status) << run.err;
  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  ASSERT_EQ(4u, entries.size());
  EXPECT_EQ(kanji44, entries[1].name);
  EXPECT_EQ("f.bin", entries[3].name);
}

TEST_F(ZarcCreate, RefusesWhatTheReaderCannotReadAndLeavesNothing) {
  const std::string file = Put("f.bin", "data");
  std::vector<std::string> many;
  for (uint32_t i = 0; i <= setup::kMaxArchiveEntries; ++i) many.insert(many.end(), {"--external", "e" + std::to_string(i)});
  ExpectRefused(many, "65536 entries", "at most 65535");
  ExpectRefused({"--as", std::string(52, 'n'), file}, "f.bin", "longer than 51 bytes");
  std::string kanji52;
  for (int i = 0; i < 24; ++i) kanji52 += "\x88\xa2";
  ExpectRefused({"--external", HostForm(kanji52 + ".txt")}, "--external", "longer than 51 bytes");
  ExpectRefused({"--as", "data/a.bin", file}, "f.bin", "'/'");
  ExpectRefused({"--external", ""}, "--external", "empty");
  ExpectRefused({file, "--as", "f.bin", Put("g.bin", "")}, "g.bin", "given twice");
  ExpectRefused({file, folder_.PathOf("missing.bin")}, "missing.bin", "cannot open");
  ASSERT_TRUE(files_->MakeFolder(folder_.PathOf("sub").c_str()));
  ExpectRefused({folder_.PathOf("sub")}, "sub", "holds no file");
  ASSERT_TRUE(setup::testing::MakeSizedFile(folder_.PathOf("huge.bin"), uint64_t(1) << 32));
  ExpectRefused({file, folder_.PathOf("huge.bin")}, "huge.bin", "4 GiB");
}

TEST_F(ZarcCreate, ARefusedOrFailedRunLeavesAnExistingArchiveAlone) {
  const std::string old = "an archive from before";
  Put("out.zarc", old);
  ExpectRefused({folder_.PathOf("missing.bin")}, "missing.bin", "cannot open");
  std::string now;
  ASSERT_TRUE(folder_.ReadFile("out.zarc", &now));
  EXPECT_EQ(old, now);

  // The archive's place is taken by a folder: writing succeeds, the final rename cannot.
  ASSERT_TRUE(files_->MakeFolder(folder_.PathOf("dir.zarc").c_str()));
  const std::vector<std::string> before = FolderNames(*files_, folder_.path());
  const RunResult run = Zarc(*files_, {"create", folder_.PathOf("dir.zarc"), folder_.PathOf("out.zarc")});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("dir.zarc")) << run.err;
  EXPECT_EQ(before, FolderNames(*files_, folder_.path()));

  ASSERT_EQ(0, Zarc(*files_, {"create", out_, Put("new.txt", "new")}).status);
  ASSERT_TRUE(folder_.ReadFile("out.zarc", &now));
  EXPECT_EQ("ZARC", now.substr(0, 4));
}

// --from-utf8 converts the two texts with the system's own tables, so it must come out the same
// on both systems: Japanese round-trips, and a character without an exact form is refused, never
// replaced by a look-alike (Windows' best fit would make "é" an "e").
TEST_F(ZarcCreate, FromUtf8ConvertsTheTwoTextsAndRefusesWhatCodePage932Lacks) {
  // 同意します。～ then a half-width katakana, with LF, CR alone and no final break.
  const std::string utf8 = "\xef\xbb\xbf\xe5\x90\x8c\xe6\x84\x8f\xe3\x81\x97\xe3\x81\xbe\xe3\x81\x99"
                           "\xe3\x80\x82\xef\xbd\x9e\nOK\r\xef\xbd\xb1";
  const std::string cp932 = "\x93\xaf\x88\xd3\x82\xb5\x82\xdc\x82\xb7\x81\x42\x81\x60\r\nOK\r\n\xb1\r\n";
  const std::string other = Put("other.txt", utf8);
  RunResult run = Zarc(*files_, {"create", out_, "--from-utf8", "--as", "setup.txt",
                                 Put("s.txt", "#T=" + utf8.substr(3, 6) + "\n"), Put(HostForm(kLicence), utf8),
                                 other});
  ASSERT_EQ(0, run.status) << run.err;
  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ("#T=\x93\xaf\x88\xd3\r\n", entries[0].data);
  EXPECT_EQ(cp932, entries[1].data);
  EXPECT_EQ(utf8, entries[2].data) << "only the two texts are converted";

  ASSERT_EQ(0, Zarc(*files_, {"create", out_, Put(HostForm(kLicence), utf8)}).status);
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  EXPECT_EQ(utf8, entries[0].data) << "without the option the bytes go in as they are";

  const std::string licence = HostForm(kLicence);
  ExpectRefused({"--from-utf8", Put(licence, "OK\r\ncaf\xc3\xa9\r\n")}, "line 2, column 4",
                "\"\xc3\xa9\" (U+00E9) has no code page 932 form");
  ExpectRefused({"--from-utf8", Put(licence, "\xe3\x80\x9c\n")}, "line 1, column 1",
                "(U+301C) has no code page 932 form; write \"\xef\xbd\x9e\" (U+FF5E) instead");
  ExpectRefused({"--from-utf8", Put(licence, "a\nb\x82\xa0\n")}, "line 2, column 2", "not UTF-8");
}

TEST(ZarcCommandLine, UsageErrorsExitTwoAndHelpExitsZero) {
  auto files = MakeFileSystem();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"pack"}, {"create"}, {"create", "o.zarc"}, {"create", "o.zarc", "--as", "x"},
           {"create", "o.zarc", "--bogus", "a"}, {"create", "o.zarc", "--external"},
           {"list"}, {"list", "a", "b"}, {"extract"}, {"extract", "-C"}, {"test"},
           {"zfil", "in"}, {"zfil", "in", "out", "more"}, {"create", "o.zarc", "--threads"},
           {"create", "o.zarc", "--threads", "0", "a"}, {"create", "o.zarc", "--threads", "257", "a"},
           {"zfil", "--threads", "2x", "in", "out"}, {"setup"}, {"setup", "o.exe"},
           {"setup", "o.exe", "--icon"}, {"setup", "o.exe", "--package", "p.zarc", "a"},
           {"setup", "o.exe", "--package", "p.zarc", "--max"},
           {"setup", "o.exe", "--product-version", "1.2.3.4.5", "a"},
           {"setup", "o.exe", "--product-version", "65536", "a"},
           {"setup", "o.exe", "--product-version", "1..2", "a"}}) {
    const RunResult run = Zarc(*files, args);
    EXPECT_EQ(2, run.status) << ::testing::PrintToString(args);
    EXPECT_EQ("zarc: ", run.err.substr(0, 6)) << ::testing::PrintToString(args);
  }
  for (const char* command : {"create", "list", "extract", "test", "zfil", "setup"}) {
    const RunResult run = Zarc(*files, {command, "--help"});
    EXPECT_EQ(0, run.status) << command;
    EXPECT_EQ("Usage: zarc " + std::string(command), run.out.substr(0, 12 + strlen(command)));
  }
  EXPECT_EQ(0, Zarc(*files, {"--help"}).status);
}

// A product folder: each file packed under the shortest tail that tells it apart, extracted back
// under that name, and installed by the lines of list-folder to the path it had in the folder.
TEST_F(ZarcCreate, AFolderPacksEveryFileUnderANameListAndExtractGiveBack) {
  const std::string so = "\x83\x5c.txt";  // ソ.txt: 5C is a trail byte, no separator
  const std::string table = "\x95\x5c";   // 表, likewise
  const std::vector<std::string> folders = {"app", "app\\sub", "app\\lib", "app\\lib\\core",
                                            "app\\" + table, "app\\a", "app\\a\\b", "app\\b",
                                            "app\\empty"};
  for (const std::string& f : folders) ASSERT_TRUE(files_->MakeFolder(HostForm(folder_.PathOf(f)).c_str()));
  // relative path in the folder (code page 932) -> entry name
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"LICENSE", "LICENSE"}, {so, so},
      {"a\\b\\x", "a\\b\\x"}, {"b\\x", "b\\x"},
      {"lib\\x.pyd", "lib\\x.pyd"}, {"lib\\core\\only.pyd", "only.pyd"},
      {"lib\\core\\x.pyd", "core\\x.pyd"}, {"sub\\license", "sub\\license"},
      {table + "\\" + so, table + "\\" + so},
  };
  for (const auto& [relative, name] : expected) {
    ASSERT_TRUE(folder_.WriteFile(HostForm("app\\" + relative), "data of " + relative));
  }
  const std::string app = folder_.PathOf("app");
  const RunResult run = Zarc(*files_, {"create", out_, Put("setup.txt", "#T=Q\r\n"), app});
  ASSERT_EQ(0, run.status) << run.err;
  std::vector<ReadEntry> entries;
  std::string image;
  ASSERT_TRUE(ReadArchiveBack(*files_, out_, &entries, &image));
  ASSERT_EQ(expected.size() + 1, entries.size());
  std::map<std::string, std::string> byName;  // entry name -> data
  for (const ReadEntry& entry : entries) byName[entry.name] = entry.data;
  for (const auto& [relative, name] : expected) EXPECT_EQ("data of " + relative, byName[name]) << name;

  // The same folder gives the same bytes; extracting gives every file back under its name.
  ASSERT_EQ(0, Zarc(*files_, {"create", folder_.PathOf("again.zarc"), folder_.PathOf("setup.txt"), app}).status);
  std::string first, second;
  ASSERT_TRUE(folder_.ReadFile("out.zarc", &first));
  ASSERT_TRUE(folder_.ReadFile("again.zarc", &second));
  EXPECT_TRUE(first == second);
  ASSERT_EQ(0, Zarc(*files_, {"extract", "-C", folder_.PathOf("x"), out_}).status);
  for (const auto& [relative, name] : expected) {
    std::string bytes;
    EXPECT_TRUE(folder_.ReadFile(HostForm("x\\" + name), &bytes)) << name;
    EXPECT_EQ("data of " + relative, bytes);
  }

  // Each #I finds its entry by the program's own lookup key and names its path in the folder;
  // each folder, the empty one too, comes before what goes into it.
  ASSERT_TRUE(folder_.WriteFile("setup.txt", "#T=Q\r\n"));
  ASSERT_EQ(0, Zarc(*files_, {"list-folder", "--into", folder_.PathOf("setup.txt"), app}).status);
  std::string script;
  ASSERT_TRUE(folder_.ReadFile("setup.txt", &script));
  std::set<std::string> made, installed;
  size_t at = 0;
  for (size_t end; (end = script.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::string line = script.substr(at, end - at);
    if (line.compare(0, 3, "#F=") == 0) made.insert(line.substr(3));
    if (line.compare(0, 3, "#I=") != 0) continue;
    const std::string value = line.substr(3);
    std::string destination = value;
    std::replace(destination.begin(), destination.end(), '/', '\\');
    EXPECT_NE('/', value[0]);
    char key[setup::kLookupKeyCapacity];
    EXPECT_EQ("data of " + destination, byName[setup::LookupKey(key, value.c_str())]) << value;
    installed.insert(destination);
  }
  std::set<std::string> want;
  for (const auto& [relative, name] : expected) want.insert(relative);
  EXPECT_EQ(want, installed);
  EXPECT_EQ((std::set<std::string>{"a", "a\\b", "b", "empty", "lib", "lib\\core", "sub", table}), made);
  EXPECT_EQ(0u, script.find("#T=Q\r\n")) << "the publisher's lines stay";

  // A folder cannot take one name; a file of the folder and one given alone cannot share one.
  ExpectRefused({"--as", "x", app}, "app", "--as names a single file");
  ExpectRefused({Put("LICENSE", "other"), app}, "LICENSE", "given twice");
}

}  // namespace
}  // namespace zarc::testing
