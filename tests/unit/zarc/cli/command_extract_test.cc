// zarc list, test and extract: every problem in an archive reported by entry, never a crash, and
// no file written outside the target folder.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "fakes/test_archive.h"
#include "platform/platform_fixture.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::LoadLE32;
using setup::testing::BuildArchive;
using setup::testing::Bytes;
using setup::testing::MakeFileSystem;
using setup::testing::Poke32;
using setup::testing::PseudoRandom;
using setup::testing::RecordOffset;
using setup::testing::TempFolder;
using setup::testing::TestEntry;

const std::string kLicence = "\x93\xaf\x88\xd3\x8f\x91.txt";    // 同意書.txt
const std::string kSoftFolder = "\x83\x5c\x83\x74\x83\x67";      // ソフト: 5C is a trail byte

class ZarcRead : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  // Writes an archive of these entries (made without zarc) and returns its path.
  std::string PutArchive(const std::vector<uint8_t>& image) {
    EXPECT_TRUE(folder_.WriteFile("a.zarc", std::string(image.begin(), image.end())));
    return folder_.PathOf("a.zarc");
  }

  std::vector<TestEntry> Sample() {
    return {{"setup.txt", Bytes("#T=Quillfen\r\n")},
            {"big.bin", PseudoRandom(600000, 3)},  // more than one piece of a check
            {"later.bin", Bytes("later")}};
  }

  TempFolder folder_;
  std::unique_ptr<setup::FileSystem> files_ = MakeFileSystem();
};

TEST_F(ZarcRead, ListShowsSizesOffsetsAndExternals) {
  std::vector<TestEntry> entries = Sample();
  entries.push_back({"ext.dat", {}, true});
  const std::vector<uint8_t> image = BuildArchive(entries);
  const RunResult run = Zarc(*files_, {"list", PutArchive(image)});
  EXPECT_EQ(0, run.status) << run.err;
  // Full size 13, offset 8 + 64 * 4.
  EXPECT_NE(std::string::npos, run.out.find(" 13        264  setup.txt\n")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("external          -          -  ext.dat")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("4 entries, " + std::to_string(image.size()) + " bytes"));
}

TEST_F(ZarcRead, CorruptArchivesAreReportedByEntry) {
  struct Case {
    const char* what;
    void (*bend)(std::vector<uint8_t>& image);
    const char* reason;
    bool listSeesIt;
  };
  const Case cases[] = {
      {"record past the image", [](auto& image) { Poke32(image, RecordOffset(1), uint32_t(image.size()) - 10); },
       "past the end", true},
      {"truncated stream", [](auto& image) { Poke32(image, RecordOffset(1) + 4, 100); },
       "does not inflate", false},
      {"bytes after the stream's end", [](auto& image) {
         Poke32(image, RecordOffset(1) + 4, LoadLE32(&image[RecordOffset(1) + 4]) + 2);
       },
       "after its end", false},
      {"full size too large", [](auto& image) { Poke32(image, RecordOffset(1) + 8, 600001); },
       "inflates to 600000 bytes", false},
      {"full size too small", [](auto& image) { Poke32(image, RecordOffset(1) + 8, 599999); },
       "does not inflate", false},
      {"byte damaged past the first piece",
       [](auto& image) {
         const size_t at = RecordOffset(1);
         image[LoadLE32(&image[at]) + LoadLE32(&image[at + 4]) * 3 / 4] ^= 0x10;
       },
       "does not inflate", false},
      {"name without NUL", [](auto& image) { std::fill_n(&image[RecordOffset(1) + 12], 52, 'x'); },
       "no NUL", true},
      {"hidden by a later name", [](auto& image) { memcpy(&image[RecordOffset(1) + 12], "later.bin", 10); },
       "hides it", true},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = BuildArchive(Sample());
    c.bend(image);
    const std::string path = PutArchive(image);
    const RunResult test = Zarc(*files_, {"test", path});
    EXPECT_EQ(1, test.status) << c.what;
    EXPECT_NE(std::string::npos, test.err.find("entry 1 ")) << c.what << ": " << test.err;
    EXPECT_NE(std::string::npos, test.err.find(c.reason)) << c.what << ": " << test.err;
    EXPECT_EQ(std::string::npos, test.err.find("entry 0 ")) << c.what << ": " << test.err;
    EXPECT_NE(std::string::npos, test.err.find("1 of 3 entries are bad")) << c.what;
    EXPECT_EQ(c.listSeesIt ? 1 : 0, Zarc(*files_, {"list", path}).status) << c.what;
    EXPECT_EQ(1, Zarc(*files_, {"extract", "-C", folder_.PathOf("x"), path}).status) << c.what;
  }
}

TEST_F(ZarcRead, UnreadableFilesAreRefusedWhole) {
  std::vector<uint8_t> image = BuildArchive(Sample());
  const std::pair<std::vector<uint8_t>, const char*> cases[] = {
      {{}, "not a ZARC"},
      {Bytes("ZAR"), "not a ZARC"},
      {Bytes("PK\3\4 not ours"), "not a ZARC"},
      {std::vector<uint8_t>(image.begin(), image.begin() + 8 + 64 * 2 + 10), "runs past the end"},
      {[&] { auto bad = image; Poke32(bad, 4, 65535); return bad; }(), "65535 entries runs past"},
  };
  for (const auto& c : cases) {
    const std::string path = PutArchive(c.first);
    for (const char* command : {"list", "test", "extract"}) {
      const RunResult run = Zarc(*files_, {command, path});
      EXPECT_EQ(1, run.status) << command << " " << c.second;
      EXPECT_NE(std::string::npos, run.err.find(c.second)) << command << ": " << run.err;
    }
  }
  EXPECT_EQ(1, Zarc(*files_, {"test", folder_.PathOf("none.zarc")}).status);
}

TEST_F(ZarcRead, ExtractWritesEntriesIntoSubFolders) {
  std::vector<TestEntry> entries = Sample();
  entries.push_back({"data\\deep\\a.bin", PseudoRandom(3000, 9)});
  entries.push_back({kSoftFolder + "\\" + kLicence, Bytes("agree")});
  entries.push_back({"ext.dat", {}, true});
  const std::string archive = PutArchive(BuildArchive(entries));
  const RunResult run = Zarc(*files_, {"extract", "-C", folder_.PathOf("out"), archive});
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("ext.dat")) << "external entries are skipped with a note";

  std::string bytes;
  ASSERT_TRUE(folder_.ReadFile("out\\big.bin", &bytes));
  EXPECT_TRUE(Bytes(bytes) == entries[1].data);
  ASSERT_TRUE(folder_.ReadFile("out\\data\\deep\\a.bin", &bytes));
  EXPECT_TRUE(Bytes(bytes) == entries[3].data);
  ASSERT_TRUE(folder_.ReadFile("out\\" + HostForm(kSoftFolder) + "\\" + HostForm(kLicence), &bytes));
  EXPECT_EQ("agree", bytes);
  EXPECT_EQ((std::vector<std::string>{"big.bin", "data", "later.bin", "setup.txt", HostForm(kSoftFolder)}),
            FolderNames(*files_, folder_.PathOf("out")));

  // Named entries only; a name that is not there writes nothing at all.
  const RunResult named = Zarc(*files_, {"extract", "-C", folder_.PathOf("one"), archive, "later.bin"});
  EXPECT_EQ(0, named.status) << named.err;
  EXPECT_EQ(std::vector<std::string>{"later.bin"}, FolderNames(*files_, folder_.PathOf("one")));
  const RunResult missing =
      Zarc(*files_, {"extract", "-C", folder_.PathOf("two"), archive, "setup.txt", "Later.bin"});
  EXPECT_EQ(1, missing.status);
  EXPECT_NE(std::string::npos, missing.err.find("Later.bin")) << missing.err;
  EXPECT_TRUE(FolderNames(*files_, folder_.PathOf("two")).empty());
}

TEST_F(ZarcRead, ExtractRefusesNamesThatLeaveTheFolder) {
  std::vector<TestEntry> entries;
  for (const char* name : {"..\\evil1.txt", "\\evil2.txt", "C:evil3.txt", "a\\..\\..\\evil4.txt",
                           "...\\evil5.txt", "a\\\\evil6.txt", "good.txt"}) {
    entries.push_back({name, Bytes(name)});
  }
  ASSERT_TRUE(files_->MakeFolder(folder_.PathOf("in").c_str()));
  ASSERT_TRUE(files_->MakeFolder(folder_.PathOf("in\\out").c_str()));
  const RunResult run =
      Zarc(*files_, {"extract", "-C", folder_.PathOf("in\\out"), PutArchive(BuildArchive(entries))});
  EXPECT_EQ(1, run.status);
  for (int i = 1; i <= 6; ++i) {
    EXPECT_NE(std::string::npos, run.err.find("evil" + std::to_string(i))) << run.err;
  }
  EXPECT_EQ((std::vector<std::string>{"a.zarc", "in"}), FolderNames(*files_, folder_.path()));
  EXPECT_EQ(std::vector<std::string>{"out"}, FolderNames(*files_, folder_.PathOf("in")));
  EXPECT_EQ(std::vector<std::string>{"good.txt"}, FolderNames(*files_, folder_.PathOf("in\\out")));
}

}  // namespace
}  // namespace zarc::testing
