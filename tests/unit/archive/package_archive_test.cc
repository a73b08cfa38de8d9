#include "archive/package_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/memory_stream.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/test_archive.h"

namespace setup {
namespace {

using testing::BuildArchive;
using testing::BuildZfil;
using testing::Bytes;
using testing::Compress;
using testing::FakeFileSystem;
using testing::Poke32;
using testing::RecordOffset;
using testing::TestEntry;

const std::string kScript = "\r\n#T=Quillfen\r\n#I=Quillfen.exe\r\n";

class PackageArchiveTest : public ::testing::Test {
 protected:
  bool OpenBuiltIn(const std::vector<TestEntry>& entries) {
    resources_.Add(135, BuildArchive(entries));
    return archive_.Open(files_, resources_, 135);
  }

  // The entry's bytes, or "<none>" when the lookup fails.
  std::string Load(const char* name) {
    MemoryStream stream;
    if (!archive_.Load(name, stream)) return "<none>";
    EXPECT_EQ(0u, stream.Position());
    return std::string(reinterpret_cast<const char*>(stream.CurrentData()), stream.Size());
  }

  // The lookup key of name.
  static std::string Key(const std::string& name) {
    char key[kLookupKeyCapacity];
    return LookupKey(key, name.c_str());
  }

  FakeFileSystem files_;
  MemoryResources resources_;
  PackageArchive archive_;
};

TEST_F(PackageArchiveTest, DeliversEntriesFromTheBuiltInArchive) {
  std::vector<uint8_t> program = testing::PseudoRandom(300000, 7);
  ASSERT_TRUE(OpenBuiltIn({{"Quillfen.exe", program}, {"setup.txt", Bytes(kScript)}}));
  EXPECT_EQ(kPackageResource, archive_.source());
  EXPECT_EQ(2u, archive_.entryCount());
  EXPECT_EQ(kScript, Load("setup.txt"));
  EXPECT_EQ(std::string(program.begin(), program.end()), Load("Quillfen.exe"));
  EXPECT_EQ("<none>", Load("missing.txt"));
}

TEST_F(PackageArchiveTest, FilesInTheCurrentFolderOverrideEntries) {
  files_.AddFile("setup.txt", "from disk");
  files_.AddFile("Setup.TXT", "other case");
  files_.AddFile("extra.bin", BuildZfil(Bytes("unpacked")));
  files_.AddFile("raw.bin", Compress(Bytes("still packed")));
  files_.AddFolder("sub");
  ASSERT_TRUE(OpenBuiltIn({{"setup.txt", Bytes(kScript)}, {"readme.txt", Bytes("readme")}}));

  EXPECT_EQ("from disk", Load("setup.txt"));
  EXPECT_EQ("other case", Load("Setup.TXT"));  // added beside it: names compare case-sensitively
  EXPECT_EQ("readme", Load("readme.txt"));
  EXPECT_EQ("unpacked", Load("extra.bin"));
  std::vector<uint8_t> packed = Compress(Bytes("still packed"));
  EXPECT_EQ(std::string(packed.begin(), packed.end()), Load("raw.bin"));
  EXPECT_EQ("<none>", Load("sub"));  // folders are not registered
  EXPECT_EQ(5u, archive_.entryCount());

  // What a load holds at once: a "ZFIL" file's raw bytes beside what they inflate to.
  uint64_t size = 0;
  ASSERT_TRUE(archive_.EntrySize("extra.bin", &size));
  EXPECT_EQ(BuildZfil(Bytes("unpacked")).size() + 8, size);
  ASSERT_TRUE(archive_.EntrySize("raw.bin", &size));
  EXPECT_EQ(packed.size(), size);
  ASSERT_TRUE(archive_.EntrySize("readme.txt", &size));
  EXPECT_EQ(6u, size);
}

TEST_F(PackageArchiveTest, KeysAreTheNameAfterTheLastSlash) {
  ASSERT_TRUE(OpenBuiltIn({{"setup.txt", Bytes(kScript)}}));
  EXPECT_EQ(kScript, Load("any/dir/setup.txt"));
  EXPECT_EQ("<none>", Load("dir\\setup.txt"));  // a backslash does not separate
  EXPECT_EQ("<none>", Load("/setup.txt"));      // a slash in front keeps the whole name
  EXPECT_EQ("/setup.txt", Key("/setup.txt"));
  EXPECT_EQ("b", Key("a//b"));
  EXPECT_EQ("", Key("dir/"));

  std::string longName(60, 'n');
  EXPECT_EQ(51u, Key("dir/" + longName).size());
  EXPECT_EQ(255u, Key(std::string(300, 'x')).size());
}

TEST_F(PackageArchiveTest, ALongKeyIsCutToTheLongestName) {
  std::string name51(51, 'k');
  ASSERT_TRUE(OpenBuiltIn({{name51, Bytes("long")}}));
  EXPECT_EQ("long", Load(("d/" + name51 + "tail").c_str()));
  EXPECT_EQ("<none>", Load((name51 + "tail").c_str()));  // without a slash nothing is cut
}

TEST_F(PackageArchiveTest, DiskEntriesAreReadFromTheCurrentFolderWhateverTheDirectory) {
  files_.AddFile("setup.txt", "current");
  files_.AddFile("C:\\elsewhere\\setup.txt", "elsewhere");
  ASSERT_TRUE(OpenBuiltIn({{"setup.txt", Bytes(kScript)}}));
  EXPECT_EQ("current", Load("C:/elsewhere/setup.txt"));
  EXPECT_EQ("C:\\setup\\setup.txt", files_.reads().back());
}

TEST_F(PackageArchiveTest, DuplicateNamesDeliverTheLaterRecord) {
  files_.AddFile("dup", "disk");
  ASSERT_TRUE(OpenBuiltIn({{"dup", Bytes("first")}, {"dup", Bytes("second")}}));
  // The disk file turned the first record into a disk entry; the lookup keeps the last match.
  EXPECT_EQ(0u, archive_.entry(0).storedSize);
  EXPECT_NE(0u, archive_.entry(1).storedSize);
  EXPECT_EQ("second", Load("dup"));
}

TEST_F(PackageArchiveTest, ExternalRecordsNeedTheirFile) {
  TestEntry external{"external.dat", {}, true};
  ASSERT_TRUE(OpenBuiltIn({external}));
  EXPECT_EQ("<none>", Load("external.dat"));
  files_.AddFile("external.dat", "arrived later");  // read at lookup time, not at open
  EXPECT_EQ("arrived later", Load("external.dat"));
}

TEST_F(PackageArchiveTest, EmptyArchiveAndEmptyFolderFindNothing) {
  ASSERT_TRUE(OpenBuiltIn({}));
  EXPECT_EQ(0u, archive_.entryCount());
  EXPECT_EQ("<none>", Load("setup.txt"));
  EXPECT_EQ("<none>", Load(""));
}

TEST_F(PackageArchiveTest, AFileArchiveWithAWrongMagicFallsBackToTheResource) {
  files_.AddFile("files.zarc", "ZARX and more bytes");
  EXPECT_FALSE(archive_.Open(files_, resources_, "files.zarc"));
  EXPECT_EQ(kPackageClosed, archive_.source());
  EXPECT_EQ(nullptr, archive_.image());
  ASSERT_TRUE(OpenBuiltIn({{"setup.txt", Bytes(kScript)}}));
  EXPECT_EQ(kScript, Load("setup.txt"));
}

TEST_F(PackageArchiveTest, AFileArchiveIsReadWholeAndOwned) {
  files_.AddFile("files.zarc", BuildArchive({{"setup.txt", Bytes("from file")}}));
  resources_.Add(135, BuildArchive({{"setup.txt", Bytes("built in")}}));
  ASSERT_TRUE(archive_.Open(files_, resources_, "files.zarc"));
  EXPECT_EQ(kPackageFile, archive_.source());
  EXPECT_FALSE(archive_.Open(files_, resources_, 135));  // one archive at a time
  // files.zarc itself lies in the current folder, so it is registered as a disk entry too.
  EXPECT_EQ("from file", Load("setup.txt"));
  archive_.Close();
  EXPECT_EQ(0u, archive_.entryCount());
  EXPECT_FALSE(archive_.ReadsCurrentFolder());
}

TEST_F(PackageArchiveTest, AResourceOfTheNameWinsOverTheFile) {
  files_.AddFile("files.zarc", BuildArchive({{"setup.txt", Bytes("from file")}}));
  resources_.Add("files.zarc", BuildArchive({{"setup.txt", Bytes("named resource")}}));
  ASSERT_TRUE(archive_.Open(files_, resources_, "files.zarc"));
  EXPECT_EQ(kPackageResource, archive_.source());
}

TEST_F(PackageArchiveTest, NoSourceLeavesTheArchiveClosed) {
  EXPECT_FALSE(archive_.Open(files_, resources_, "files.zarc"));
  EXPECT_FALSE(archive_.Open(files_, resources_, 135));
  EXPECT_EQ(kPackageClosed, archive_.source());
  files_.AddFile("files.zarc", "ZAR");  // shorter than a header
  EXPECT_FALSE(archive_.Open(files_, resources_, "files.zarc"));
}

// Whatever the stream held, an archive entry, a folder's file or the raw bytes of a "ZFIL" file on
// their way to being inflated, the entry loaded takes its place and the buffer it held is freed
// (the asan preset reports a leak otherwise); a failed lookup leaves the stream alone.
TEST_F(PackageArchiveTest, LoadingIntoAFilledStreamReplacesWhatItHeld) {
  files_.AddFile("disk.txt", "from the folder");
  files_.AddFile("packed.bin", BuildZfil(Bytes("inflated")));
  ASSERT_TRUE(OpenBuiltIn({{"a", Bytes("first")}, {"b", Bytes("second!")}}));
  auto held = [](const MemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.CurrentData()), stream.Size());
  };
  MemoryStream stream;
  ASSERT_TRUE(stream.Reserve(4096));
  ASSERT_TRUE(archive_.Load("a", stream));
  EXPECT_EQ(5u, stream.Capacity());  // the reserved buffer is gone, not filled
  stream.Seek(2, 0);
  ASSERT_TRUE(archive_.Load("b", stream));
  EXPECT_EQ(0u, stream.Position());
  EXPECT_EQ("second!", held(stream));
  EXPECT_EQ(7u, stream.Capacity());
  ASSERT_TRUE(archive_.Load("disk.txt", stream));
  EXPECT_EQ("from the folder", held(stream));
  ASSERT_TRUE(archive_.Load("packed.bin", stream));
  EXPECT_EQ("inflated", held(stream));
  EXPECT_EQ(8u, stream.Capacity());
  EXPECT_FALSE(archive_.Load("missing", stream));
  EXPECT_EQ("inflated", held(stream));
  EXPECT_EQ(0u, stream.Position());
}

// A stored size cut short, or running on past the stream's end into the next entry's bytes.
TEST_F(PackageArchiveTest, TruncatedOrCorruptDataFailsWithoutAShortEntry) {
  for (int change : {-10, 3}) {
    std::vector<uint8_t> image =
        BuildArchive({{"cut", testing::PseudoRandom(9000, 5)}, {"next", Bytes("next")}});
    const uint32_t stored = image[RecordOffset(0) + 4] | image[RecordOffset(0) + 5] << 8;
    Poke32(image, RecordOffset(0) + 4, stored + change);
    resources_.Add(135, image);
    ASSERT_TRUE(archive_.Open(files_, resources_, 135));
    MemoryStream stream;
    EXPECT_FALSE(archive_.Load("cut", stream)) << change;
    EXPECT_EQ(0u, stream.Size()) << change;
    EXPECT_EQ(nullptr, stream.CurrentData()) << change;
    EXPECT_EQ("next", Load("next")) << change;
    archive_.Close();
  }
}

TEST_F(PackageArchiveTest, ABadZfilFileKeepsItsRawBytes) {
  std::vector<uint8_t> zfil = BuildZfil(testing::PseudoRandom(5000, 6));
  std::vector<uint8_t> overlong = zfil;
  Poke32(overlong, 4, uint32_t(zfil.size()));  // stream would run 64 bytes past the file
  files_.AddFile("overlong.bin", overlong);
  std::vector<uint8_t> corrupt = zfil;
  corrupt[100] ^= 0x55;
  files_.AddFile("corrupt.bin", corrupt);
  files_.AddFile("short.bin", "ZFIL1234");
  std::vector<uint8_t> trailed = zfil;  // the stored size takes in a byte after the stream
  trailed.push_back(0);
  Poke32(trailed, 4, uint32_t(zfil.size() - 64 + 1));
  files_.AddFile("trailed.bin", trailed);
  ASSERT_TRUE(OpenBuiltIn({}));
  for (const char* name : {"overlong.bin", "corrupt.bin", "short.bin", "trailed.bin"}) {
    MemoryStream stream;
    EXPECT_FALSE(archive_.Load(name, stream)) << name;
    EXPECT_EQ(0, memcmp("ZFIL", stream.CurrentData(), 4)) << name;
    EXPECT_EQ(0u, stream.Position());
  }
}

TEST_F(PackageArchiveTest, ARecordPastTheImageFailsOnlyItsOwnLookup) {
  std::vector<uint8_t> image =
      BuildArchive({{"good", Bytes("fine")}, {"far", Bytes("x")}, {"long", Bytes("y")}});
  Poke32(image, RecordOffset(1), 0xFFFFFFF0u);                    // offset past the image
  Poke32(image, RecordOffset(2) + 4, uint32_t(image.size()));     // stored size past the image
  resources_.Add(135, image);
  ASSERT_TRUE(archive_.Open(files_, resources_, 135));
  EXPECT_EQ("fine", Load("good"));
  EXPECT_EQ("<none>", Load("far"));
  EXPECT_EQ("<none>", Load("long"));
  files_.AddFile("far", "replaced");
  EXPECT_EQ("<none>", Load("far"));  // registered only at open
}

TEST_F(PackageArchiveTest, AnIndexThatDoesNotFitRefusesTheArchive) {
  // Any count the image holds records for is read: the index has no table of its own to fit.
  std::vector<uint8_t> many = BuildArchive({});
  Poke32(many, 4, 513);
  many.resize(8 + 64 * 513);
  resources_.Add(135, many);
  ASSERT_TRUE(archive_.Open(files_, resources_, 135));
  EXPECT_EQ(513u, archive_.entryCount());
  archive_.Close();

  std::vector<uint8_t> shortIndex = BuildArchive({{"a", Bytes("a")}, {"b", Bytes("b")}});
  Poke32(shortIndex, 4, 40);  // the index would run past the image
  MemoryResources other;
  other.Add(135, shortIndex);
  EXPECT_FALSE(archive_.Open(files_, other, 135));

  // Only the low 16 bits of the count are read.
  std::vector<uint8_t> highBits = BuildArchive({{"a", Bytes("abc")}});
  Poke32(highBits, 4, 0x00010001u);
  MemoryResources third;
  third.Add(135, highBits);
  ASSERT_TRUE(archive_.Open(files_, third, 135));
  EXPECT_EQ(1u, archive_.entryCount());
  EXPECT_EQ("abc", Load("a"));
}

TEST_F(PackageArchiveTest, AnUnterminatedRecordNameMatchesNothing) {
  std::vector<uint8_t> image = BuildArchive({{std::string(52, 'u'), Bytes("data")}});
  resources_.Add(135, image);
  ASSERT_TRUE(archive_.Open(files_, resources_, 135));
  EXPECT_EQ("<none>", Load(std::string(51, 'u').c_str()));
  EXPECT_EQ("<none>", Load(std::string(52, 'u').c_str()));
  EXPECT_EQ("<none>", Load(("d/" + std::string(52, 'u')).c_str()));
}

TEST_F(PackageArchiveTest, LongDiskNamesAreSkippedAndAFullTableTakesNoNewNames) {
  std::vector<TestEntry> entries;
  // The table grows past its first room for the folder's files, up to what the count holds.
  for (uint32_t i = 0; i + 1 < kMaxArchiveEntries; ++i) entries.push_back({"e" + std::to_string(i), Bytes("archive")});
  files_.AddFile(std::string(52, 'L'), "too long to store");
  files_.AddFile(std::string(51, 'M'), "fits");
  files_.AddFile("new-after-full", "ignored");
  files_.AddFile("e7", "replaces");
  ASSERT_TRUE(OpenBuiltIn(entries));
  EXPECT_EQ(65535u, archive_.entryCount());
  EXPECT_EQ("fits", Load(std::string(51, 'M').c_str()));
  EXPECT_EQ("<none>", Load("new-after-full"));
  EXPECT_EQ("replaces", Load("e7"));
  EXPECT_EQ("archive", Load("e8"));
  for (uint32_t i = 0; i < archive_.entryCount(); ++i) {
    EXPECT_NE(nullptr, memchr(archive_.entry(i).name, 0, kEntryNameCapacity));
  }
}

}  // namespace
}  // namespace setup
