// What every FileSystem must do, run against the real implementation of the platform the tests
// are built for: POSIX on the host, Win32 under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "platform/platform_fixture.h"

namespace setup::testing {
namespace {

// "ソフト" and "表" in code page 932: their trail bytes 0x5C look like separators.
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";
const std::string kTable = "\x95\x5c";

using Listing = std::vector<std::pair<std::string, bool>>;  // name, isFolder
const Listing kFailed = {{"<listing failed>", false}};

class Collector : public FolderVisitor {
 public:
  bool Visit(const FolderItem& item) override {
    items.emplace_back(item.name, item.isFolder);
    return items.size() < stopAfter;
  }
  Listing items;
  size_t stopAfter = SIZE_MAX;
};

class FileSystemContract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  std::string At(const std::string& name) const { return folder_.PathOf(name); }
  std::string Read(const std::string& name) const {
    std::string bytes;
    return folder_.ReadFile(name, &bytes) ? bytes : "<unreadable>";
  }
  // The listing sorted by name, or kFailed.
  Listing List(const std::string& path) {
    Collector collector;
    if (!fs_->ListFolder(path.c_str(), collector)) return kFailed;
    std::sort(collector.items.begin(), collector.items.end());
    return collector.items;
  }
  std::string Current() {
    char buffer[kPathCapacity];
    return fs_->CurrentFolder(buffer, sizeof buffer) ? buffer : "<none>";
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakeFileSystem();
};

TEST_F(FileSystemContract, ReadsBackExactlyWhatWasWritten) {
  std::string large(1 << 20, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = char(i * 7 + (i >> 11));
  const std::vector<std::pair<std::string, std::string>> files = {
      {"empty", ""}, {"small.bin", std::string("a\0\xff\r\n", 5)}, {"large.bin", large}};
  for (const auto& [name, bytes] : files) {
    // Several writes, the last one short, so that positions between writes matter.
    auto file = fs_->OpenForWriting(At(name).c_str(), WriteMode::kNew);
    ASSERT_NE(file, nullptr) << name;
    for (size_t done = 0; done < bytes.size(); done += 65000) {
      ASSERT_TRUE(file->Write(bytes.data() + done, uint32_t(std::min<size_t>(65000, bytes.size() - done))));
    }
    EXPECT_TRUE(file->Close(true)) << name;
    EXPECT_EQ(Read(name), bytes) << name;
    uint64_t size = 0;
    EXPECT_TRUE(fs_->FileSize(At(name).c_str(), &size));
    EXPECT_EQ(size, bytes.size()) << name;
  }

  // A file dropped without Close keeps what was written.
  auto file = fs_->OpenForWriting(At("dropped").c_str(), WriteMode::kReplace);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("kept", 4));
  file.reset();
  EXPECT_EQ(Read("dropped"), "kept");
}

TEST_F(FileSystemContract, SeekMovesTheWritePosition) {
  auto file = fs_->OpenForWriting(At("seek").c_str(), WriteMode::kNew);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Position(), 0u);
  ASSERT_TRUE(file->Write("0123456789", 10));
  EXPECT_EQ(file->Position(), 10u);

  // Back into the middle: the bytes there are overwritten and the file keeps its length.
  ASSERT_TRUE(file->Seek(2));
  EXPECT_EQ(file->Position(), 2u);
  ASSERT_TRUE(file->Write("ab", 2));
  EXPECT_EQ(file->Position(), 4u);
  ASSERT_TRUE(file->Seek(0));
  ASSERT_TRUE(file->Write("S", 1));

  // A write that starts before the end and runs past it extends the file; so does one at the end.
  ASSERT_TRUE(file->Seek(8));
  ASSERT_TRUE(file->Write("pqr", 3));
  EXPECT_EQ(file->Position(), 11u);
  ASSERT_TRUE(file->Seek(11));
  ASSERT_TRUE(file->Write("Z", 1));

  // Past the end: the gap reads as zeros.
  ASSERT_TRUE(file->Seek(14));
  EXPECT_EQ(file->Position(), 14u);
  ASSERT_TRUE(file->Write("!", 1));
  EXPECT_EQ(file->Position(), 15u);
  ASSERT_TRUE(file->Close(true));
  EXPECT_EQ(Read("seek"), std::string("S1ab4567pqrZ\0\0!", 15));
}

TEST_F(FileSystemContract, OnlyFilesCanBeReadOrMeasured) {
  ASSERT_TRUE(fs_->MakeFolder(At("folder").c_str()));
  uint8_t* data = nullptr;
  uint32_t size = 0;
  uint64_t fileSize = 0;
  for (const char* name : {"missing", "folder", "missing\\x"}) {
    EXPECT_FALSE(fs_->ReadWholeFile(At(name).c_str(), &data, &size)) << name;
    EXPECT_FALSE(fs_->FileSize(At(name).c_str(), &fileSize)) << name;
    uint8_t start[4];
    EXPECT_FALSE(fs_->ReadFileStart(At(name).c_str(), start, sizeof start, &size)) << name;
  }
}

TEST_F(FileSystemContract, ReadsTheStartOfAFileUpToItsEnd) {
  ASSERT_TRUE(folder_.WriteFile("ten", "0123456789"));
  uint8_t start[16] = {};
  uint32_t got = 0;
  ASSERT_TRUE(fs_->ReadFileStart(At("ten").c_str(), start, 4, &got));
  EXPECT_EQ(std::string("0123"), std::string(reinterpret_cast<char*>(start), got));
  ASSERT_TRUE(fs_->ReadFileStart(At("ten").c_str(), start, sizeof start, &got));
  EXPECT_EQ(std::string("0123456789"), std::string(reinterpret_cast<char*>(start), got));
}

TEST_F(FileSystemContract, FilesOf4GiBAreMeasuredButNotRead) {
  if (!MakeSizedFile(At("huge"), 1ull << 32)) GTEST_SKIP() << "the disk cannot hold a sparse 4 GiB file";
  uint64_t fileSize = 0;
  EXPECT_TRUE(fs_->FileSize(At("huge").c_str(), &fileSize));
  EXPECT_EQ(fileSize, 1ull << 32);
  uint8_t* data = nullptr;
  uint32_t size = 0;
  EXPECT_FALSE(fs_->ReadWholeFile(At("huge").c_str(), &data, &size));
}

TEST_F(FileSystemContract, NewRefusesAnExistingFileAndReplaceTruncatesIt) {
  ASSERT_TRUE(folder_.WriteFile("file", "the old, longer contents"));
  EXPECT_EQ(fs_->OpenForWriting(At("file").c_str(), WriteMode::kNew), nullptr);
  EXPECT_EQ(Read("file"), "the old, longer contents");

  auto file = fs_->OpenForWriting(At("file").c_str(), WriteMode::kReplace);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("new", 3));
  ASSERT_TRUE(file->Close(false));
  EXPECT_EQ(Read("file"), "new");

  for (WriteMode mode : {WriteMode::kNew, WriteMode::kReplace}) {
    EXPECT_EQ(fs_->OpenForWriting(At("missing\\file").c_str(), mode), nullptr);
  }
}

TEST_F(FileSystemContract, ListsOneLevelOfFilesAndFolders) {
  ASSERT_TRUE(folder_.WriteFile("a.txt", "a"));
  ASSERT_TRUE(folder_.WriteFile("b", ""));
  ASSERT_TRUE(fs_->MakeFolder(At("sub").c_str()));
  ASSERT_TRUE(folder_.WriteFile("sub\\inner", "i"));
  ASSERT_TRUE(fs_->MakeFolder(At("empty").c_str()));
  const Listing expected = {{"a.txt", false}, {"b", false}, {"empty", true}, {"sub", true}};
  EXPECT_EQ(List(folder_.path()), expected);
  EXPECT_EQ(List(folder_.path() + "\\"), expected);
  EXPECT_EQ(List(At("empty")), Listing());
  EXPECT_EQ(List(At("missing")), kFailed);
  EXPECT_EQ(List(At("a.txt")), kFailed);

  Collector first;
  first.stopAfter = 1;
  EXPECT_TRUE(fs_->ListFolder(folder_.path().c_str(), first));
  EXPECT_EQ(first.items.size(), 1u);
}

TEST_F(FileSystemContract, MakesAndRemovesOnlyWhatItShould) {
  ASSERT_TRUE(folder_.WriteFile("file", "x"));
  EXPECT_TRUE(fs_->MakeFolder(At("full").c_str()));
  EXPECT_FALSE(fs_->MakeFolder(At("full").c_str()));
  EXPECT_FALSE(fs_->MakeFolder(At("no\\parent").c_str()));
  EXPECT_FALSE(fs_->MakeFolder(At("file").c_str()));
  ASSERT_TRUE(folder_.WriteFile("full\\inner", "y"));

  EXPECT_FALSE(fs_->RemoveEmptyFolder(At("full").c_str()));
  EXPECT_FALSE(fs_->RemoveEmptyFolder(At("file").c_str()));
  EXPECT_FALSE(fs_->RemoveEmptyFolder(At("missing").c_str()));
  EXPECT_FALSE(fs_->RemoveFile(At("full").c_str()));
  EXPECT_FALSE(fs_->RemoveFile(At("missing").c_str()));
  EXPECT_EQ(List(folder_.path()), (Listing{{"file", false}, {"full", true}}));
  EXPECT_EQ(Read("full\\inner"), "y");

  EXPECT_TRUE(fs_->RemoveFile(At("full\\inner").c_str()));
  EXPECT_TRUE(fs_->RemoveEmptyFolder(At("full").c_str()));
  EXPECT_TRUE(fs_->RemoveFile(At("file").c_str()));
  EXPECT_EQ(List(folder_.path()), Listing());
}

TEST_F(FileSystemContract, ReadOnlyFilesAreNeitherRemovedNorOverwritten) {
  ASSERT_TRUE(folder_.WriteFile("locked", "original"));
  ASSERT_TRUE(MakeReadOnly(At("locked")));
  ASSERT_TRUE(folder_.WriteFile("other", "other"));
  EXPECT_FALSE(fs_->RemoveFile(At("locked").c_str()));
  EXPECT_EQ(fs_->OpenForWriting(At("locked").c_str(), WriteMode::kReplace), nullptr);
  EXPECT_FALSE(fs_->MoveOver(At("other").c_str(), At("locked").c_str()));
  EXPECT_EQ(Read("locked"), "original");
  EXPECT_EQ(Read("other"), "other");
}

TEST_F(FileSystemContract, MoveOverReplacesTheTarget) {
  ASSERT_TRUE(folder_.WriteFile("new", "new contents"));
  ASSERT_TRUE(folder_.WriteFile("old", "old"));
  EXPECT_TRUE(fs_->MoveOver(At("new").c_str(), At("old").c_str()));
  EXPECT_TRUE(fs_->MoveOver(At("old").c_str(), At("fresh").c_str()));
  EXPECT_FALSE(fs_->MoveOver(At("missing").c_str(), At("fresh").c_str()));
  EXPECT_EQ(List(folder_.path()), (Listing{{"fresh", false}}));
  EXPECT_EQ(Read("fresh"), "new contents");
}

TEST_F(FileSystemContract, CopyReplacesTheDestinationAndNeverLosesTheSource) {
  std::string large(3 << 20, '\0');  // more than one buffer of any copy loop
  for (size_t i = 0; i < large.size(); ++i) large[i] = char(i * 13 + (i >> 9));
  ASSERT_TRUE(folder_.WriteFile("large", large));
  ASSERT_TRUE(folder_.WriteFile("old", "the old, longer contents"));
  ASSERT_TRUE(folder_.WriteFile("short", "new"));
  EXPECT_TRUE(fs_->CopyFileOver(At("large").c_str(), At("copy").c_str()));
  EXPECT_TRUE(fs_->CopyFileOver(At("short").c_str(), At("old").c_str()));
  EXPECT_EQ(Read("copy"), large);
  EXPECT_EQ(Read("old"), "new");
  EXPECT_EQ(Read("short"), "new");

  EXPECT_FALSE(fs_->CopyFileOver(At("missing").c_str(), At("fresh").c_str()));
  EXPECT_FALSE(fs_->CopyFileOver(At("short").c_str(), At("missing\\fresh").c_str()));
  EXPECT_FALSE(fs_->CopyFileOver(At("short").c_str(), At("short").c_str()));
  EXPECT_EQ(Read("short"), "new");
  EXPECT_EQ(List(folder_.path()), (Listing{{"copy", false}, {"large", false}, {"old", false}, {"short", false}}));
}

TEST_F(FileSystemContract, CopyRefusesAReadOnlyDestinationUntilItsAttributesAreNormal) {
  ASSERT_TRUE(folder_.WriteFile("source", "source"));
  ASSERT_TRUE(folder_.WriteFile("locked", "original"));
  ASSERT_TRUE(MakeReadOnly(At("locked")));
  EXPECT_FALSE(fs_->CopyFileOver(At("source").c_str(), At("locked").c_str()));
  EXPECT_EQ(Read("locked"), "original");

  EXPECT_TRUE(fs_->SetNormalAttributes(At("locked").c_str()));
  EXPECT_TRUE(fs_->CopyFileOver(At("source").c_str(), At("locked").c_str()));
  EXPECT_EQ(Read("locked"), "source");
  EXPECT_FALSE(fs_->SetNormalAttributes(At("missing").c_str()));
}

TEST_F(FileSystemContract, ACopyOfAReadOnlyFileIsReadOnlyUntilMadeNormal) {
  ASSERT_TRUE(folder_.WriteFile("medium", "from the medium"));
  ASSERT_TRUE(MakeReadOnly(At("medium")));
  ASSERT_TRUE(fs_->CopyFileOver(At("medium").c_str(), At("copy").c_str()));
  EXPECT_FALSE(fs_->RemoveFile(At("copy").c_str()));
  EXPECT_TRUE(fs_->SetNormalAttributes(At("copy").c_str()));
  EXPECT_TRUE(fs_->RemoveFile(At("copy").c_str()));
  EXPECT_EQ(Read("medium"), "from the medium");
}

TEST_F(FileSystemContract, RelativePathsFollowTheCurrentFolder) {
  ASSERT_TRUE(fs_->MakeFolder(At("sub").c_str()));
  ASSERT_TRUE(folder_.WriteFile("file", "x"));
  ASSERT_TRUE(fs_->ChangeFolder(folder_.path().c_str()));
  EXPECT_EQ(Current(), folder_.path());
  EXPECT_TRUE(fs_->ChangeFolder("sub"));
  EXPECT_EQ(Current(), At("sub"));
  auto file = fs_->OpenForWriting("relative", WriteMode::kNew);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Close(false));
  EXPECT_EQ(Read("sub\\relative"), "");

  EXPECT_FALSE(fs_->ChangeFolder(At("file").c_str()));
  EXPECT_FALSE(fs_->ChangeFolder(At("missing").c_str()));
  EXPECT_EQ(Current(), At("sub"));

  // The current folder needs room for its NUL.
  std::string buffer(At("sub").size() + 1, 'z');
  EXPECT_FALSE(fs_->CurrentFolder(&buffer[0], uint32_t(buffer.size() - 1)));
  ASSERT_TRUE(fs_->CurrentFolder(&buffer[0], uint32_t(buffer.size())));
  EXPECT_EQ(buffer.c_str(), At("sub"));
}

TEST_F(FileSystemContract, JapaneseNamesWithBackslashTrailBytesStayWhole) {
  const std::string soft = At(kSoft);
  const std::string table = soft + "\\" + kTable + ".txt";
  ASSERT_TRUE(fs_->MakeFolder(soft.c_str()));
  ASSERT_TRUE(folder_.WriteFile(kSoft + "\\" + kTable + ".txt", "contents"));

  EXPECT_EQ(List(folder_.path()), (Listing{{kSoft, true}}));
  EXPECT_EQ(List(soft + "\\"), (Listing{{kTable + ".txt", false}}));
  uint64_t size = 0;
  EXPECT_TRUE(fs_->FileSize(table.c_str(), &size));
  EXPECT_EQ(size, 8u);
  ASSERT_TRUE(fs_->ChangeFolder(soft.c_str()));
  EXPECT_EQ(Current(), soft);

  ASSERT_TRUE(fs_->ChangeFolder(folder_.path().c_str()));  // Windows cannot remove the current folder
  EXPECT_TRUE(fs_->RemoveFile(table.c_str()));
  EXPECT_TRUE(fs_->RemoveEmptyFolder(soft.c_str()));
  EXPECT_EQ(List(folder_.path()), Listing());
}

}  // namespace
}  // namespace setup::testing
