// The install list carried out against the platform's real file system: on the host, and under
// Wine for the Win32 implementation.
#include "install/file_installation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_view.h"
#include "fakes/faulty_file_system.h"
#include "fakes/test_archive.h"
#include "install/creation_log.h"
#include "install/entry_pool.h"
#include "install/removal.h"
#include "install/tree_snapshot.h"
#include "install/progress.h"
#include "platform/platform_fixture.h"
#include "platform/files.h"

namespace setup {
namespace {

using testing::Bytes;
using testing::TreeSnapshot;

const std::string kFolder = "<folder>";

// The bytes of an item of a snapshot, or "<gone>".
std::string Item(const TreeSnapshot& tree, const std::string& path) {
  auto found = tree.find(path);
  return found == tree.end() ? "<gone>" : found->second;
}
// "ソフト" and "表": both end in the trail byte 0x5C, which is no separator.
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";
const std::string kTable = "\x95\x5c";

class InstallFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    // The medium: relative sources and disk entries of the package are looked up here.
    ASSERT_TRUE(fs_->MakeFolder(Medium().c_str()));
    ASSERT_TRUE(fs_->ChangeFolder(Medium().c_str()));
    SetInstallDir(folder_.PathOf("app"));
  }
  std::string Medium() const { return folder_.PathOf("medium"); }
  std::string App(const std::string& name = "") const {
    return name.empty() ? installDir_ : std::string(installDir_) + "\\" + name;
  }
  void SetInstallDir(const std::string& path) { ASSERT_TRUE(CopyText(installDir_, kPathCapacity, path.c_str())); }
  void OpenPackageOf(const std::vector<testing::TestEntry>& entries) {
    resources_.Add(135, testing::BuildArchive(entries));
    ASSERT_TRUE(archive_.Open(*fs_, resources_, 135));
  }
  void OpenPackageImage(std::vector<uint8_t> image) {
    resources_.Add(135, std::move(image));
    ASSERT_TRUE(archive_.Open(*fs_, resources_, 135));
  }
  void Add(uint8_t type, const std::string& text) {
    InstallEntry entry{};
    entry.type = type;
    ASSERT_LT(text.size(), kInstallTextCapacity);
    memcpy(entry.text, text.c_str(), text.size() + 1);
    list_.push_back(entry);
  }
  RunPlan Plan() const { return RunPlan{archive_, list_.data(), int(list_.size()), installDir_, optionChoice_}; }
  bool Run() { return InstallFiles(*fs_, progress_, Plan(), threads_.get()); }
  // The position the bar shows.
  int Position() const { return view_.positionHistory.empty() ? 0 : view_.positionHistory.back().second; }
  void WriteMedium(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(folder_.WriteFile("medium\\" + name, bytes)) << name;
  }
  void MakeMediumFolder(const std::string& name) { ASSERT_TRUE(fs_->MakeFolder((Medium() + "\\" + name).c_str())); }
  TreeSnapshot Installed() { return testing::Snapshot(*fs_, App()); }
  std::string ListBytes() const {
    return std::string(reinterpret_cast<const char*>(list_.data()), list_.size() * sizeof(InstallEntry));
  }

  testing::TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = testing::MakeFileSystem();
  MemoryResources resources_;
  PackageArchive archive_;
  testing::FakeView view_{{}};
  RunProgress progress_{view_};  // the main window's, from one run to the next
  char installDir_[kPathCapacity] = {};
  uint8_t optionChoice_ = 0;
  std::vector<InstallEntry> list_;
  std::unique_ptr<Threads> threads_ = testing::MakeThreads();  // every run with the pool of workers
};

TEST_F(InstallFilesTest, AnEmptyListMakesOnlyTheInstallFolder) {
  SetInstallDir(folder_.PathOf("deep\\er\\app"));
  EXPECT_TRUE(InstallFiles(*fs_, progress_, RunPlan{archive_, nullptr, 0, installDir_, 0}));
  EXPECT_TRUE(InstallFiles(*fs_, progress_, RunPlan{archive_, nullptr, -1, installDir_, 0}));
  EXPECT_EQ(testing::Snapshot(*fs_, folder_.path()),
            (TreeSnapshot{{"deep", kFolder}, {"deep\\er", kFolder}, {"deep\\er\\app", kFolder}, {"medium", kFolder}}));
  EXPECT_EQ(view_.positionHistory.back(), std::make_pair(1015, 255));  // nothing to do: all done
}

TEST_F(InstallFilesTest, ExtractsEntriesIntoFoldersMadeBeforeThem) {
  std::vector<uint8_t> program = testing::PseudoRandom(300000, 3);
  OpenPackageOf({{"Quillfen.exe", program}, {"data\\a.bin", Bytes("inner")}, {"empty.txt", {}}});
  ASSERT_TRUE(fs_->MakeFolder(App().c_str()));
  ASSERT_TRUE(folder_.WriteFile("app\\Quillfen.exe", "the older, installed version"));
  Add(kMakeFolder, "data");
  Add(kExtractEntry, "data\\a.bin");
  Add(kExtractEntry, "Quillfen.exe");
  Add(kExtractEntry, "empty.txt");
  // A copy over an entry still being unpacked by a worker must land after it, and win.
  WriteMedium("patch.txt", "patched");
  Add(kCopyFile, "patch.txt,Quillfen.exe");
  EXPECT_TRUE(Run());
  EXPECT_EQ(Installed(), (TreeSnapshot{{"data", kFolder},
                                       {"data\\a.bin", "inner"},
                                       {"Quillfen.exe", "patched"},
                                       {"empty.txt", ""}}));
  EXPECT_EQ(view_.positionHistory.back(), std::make_pair(1015, 255));
}

// Passes every call on, but holds the opening of the file held until the file awaited has begun
// to open, so that both entries are surely under way together; then fails the held one.
class HeldOpening : public testing::FaultyFileSystem {
 public:
  HeldOpening(FileSystem& inner, std::string held, std::string awaited)
      : FaultyFileSystem(inner, Mode::kFail, 0), held_(std::move(held)), awaited_(std::move(awaited)) {}
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override {
    std::unique_lock<std::mutex> lock(mutex_);
    if (EndsWith(path, awaited_)) {
      awaitedOpening_ = true;
      changed_.notify_all();
    }
    if (EndsWith(path, held_)) {
      // Bounded only so that a pool that never overlaps fails the test instead of hanging it.
      overlapped = awaited_.empty() ||
                   changed_.wait_for(lock, std::chrono::seconds(20), [this] { return awaitedOpening_; });
      return nullptr;
    }
    lock.unlock();
    return FaultyFileSystem::OpenForWriting(path, mode);
  }
  bool overlapped = false;

 private:
  // The file name, or the temporary one beside it.
  static bool EndsWith(const std::string& path, const std::string& name) {
    const size_t at = path.rfind("\\" + name);
    if (name.empty() || at == std::string::npos) return false;
    const std::string rest = path.substr(at + 1 + name.size());
    return rest.empty() || rest.compare(0, strlen(kBesideSuffix), kBesideSuffix) == 0;
  }
  std::string held_, awaited_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool awaitedOpening_ = false;
};

// Each entry fails in turn while the next is under way, over a folder that holds older versions of
// some: the folder is then what one thread stopping there leaves (the entries before it new, it
// and every later one as they were, no file added), and a setup's take-back restores the folder.
TEST_F(InstallFilesTest, AnEntryThatFailsWhileLaterOnesAreUnderWayLeavesTheOneThreadResult) {
  std::vector<testing::TestEntry> entries;
  for (int i = 0; i < 5; ++i) entries.push_back({"e" + std::to_string(i), testing::PseudoRandom(20000, i)});
  OpenPackageOf(entries);
  for (const auto& entry : entries) Add(kExtractEntry, entry.name);
  auto olderVersion = [this] {
    DeleteFolderTree(*fs_, installDir_);
    ASSERT_TRUE(fs_->MakeFolder(App().c_str()));
    for (const char* name : {"e0", "e2", "e4"}) ASSERT_TRUE(folder_.WriteFile(std::string("app\\") + name, "old"));
  };
  for (int failing = 0; failing < 4; ++failing) {
    SCOPED_TRACE("failing e" + std::to_string(failing));
    const std::string held = "e" + std::to_string(failing);
    olderVersion();
    const TreeSnapshot before = Installed();
    HeldOpening alone(*fs_, held, "");
    EXPECT_FALSE(InstallFiles(alone, progress_, Plan()));
    const TreeSnapshot oneThread = Installed();
    for (int i = 0; i < 5; ++i) {
      const std::string name = "e" + std::to_string(i);
      EXPECT_TRUE((i < failing ? std::string(entries[i].data.begin(), entries[i].data.end()) : Item(before, name)) ==
                  Item(oneThread, name)) << name;
    }

    olderVersion();
    HeldOpening overlapping(*fs_, held, "e" + std::to_string(failing + 1));
    CreationLog created(overlapping, threads_.get());
    EXPECT_FALSE(InstallFiles(created, progress_, Plan(), threads_.get()));
    EXPECT_TRUE(overlapping.overlapped);
    EXPECT_TRUE(Installed() == oneThread);  // the bytes are too many to print
    EXPECT_EQ(Position(), failing * 255 / 5);  // only the entries before the failed one
    // A setup's take-back removes the files the run added; those it replaced stay.
    created.TakeBack();
    std::set<std::string> names, namesBefore;
    for (const auto& item : Installed()) names.insert(item.first);
    for (const auto& item : before) namesBefore.insert(item.first);
    EXPECT_EQ(names, namesBefore);
  }
}

// Counts the questions and openings that a file of the install costs, the creation log's included.
class QuestionCounter : public testing::FaultyFileSystem {
 public:
  explicit QuestionCounter(FileSystem& inner) : FaultyFileSystem(inner, Mode::kFail, 0) {}
  bool FileSize(const char* path, uint64_t* size) override {
    ++questions;
    return FaultyFileSystem::FileSize(path, size);
  }
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override {
    ++openings;
    return FaultyFileSystem::OpenForWriting(path, mode);
  }
  std::atomic<int> questions{0}, openings{0};
};

TEST_F(InstallFilesTest, AFreshFileCostsOneOpeningAndAReplacedOneStillGoesBeside) {
  OpenPackageOf({{"a.bin", Bytes("new a")}, {"b.bin", Bytes("new b")}, {"c.bin", Bytes("new c")}});
  for (const char* name : {"a.bin", "b.bin", "c.bin"}) Add(kExtractEntry, name);
  {
    QuestionCounter counted(*fs_);
    CreationLog created(counted, threads_.get());
    ASSERT_TRUE(InstallFiles(created, progress_, Plan(), threads_.get()));
    EXPECT_EQ(counted.questions, 0);
    EXPECT_EQ(counted.openings, 3);
  }
  // Over files already there the new ones are written beside and moved over them.
  ASSERT_TRUE(folder_.WriteFile("app\\b.bin", "old b"));
  QuestionCounter counted(*fs_);
  CreationLog created(counted, threads_.get());
  ASSERT_TRUE(InstallFiles(created, progress_, Plan(), threads_.get()));
  EXPECT_EQ(Installed(), (TreeSnapshot{{"a.bin", "new a"}, {"b.bin", "new b"}, {"c.bin", "new c"}}));
  created.TakeBack();  // the replaced files were there before: a take-back keeps them
  EXPECT_EQ(Installed().size(), 3u);
}

TEST_F(InstallFilesTest, AnEntryForAFolderNotMadeFailsTheRun) {
  OpenPackageOf({{"data\\a.bin", Bytes("inner")}});
  Add(kExtractEntry, "data\\a.bin");
  Add(kWriteNewFile, "after.txt");
  EXPECT_FALSE(Run());
  EXPECT_EQ(Installed(), TreeSnapshot());
  EXPECT_TRUE(view_.positionHistory.empty());
}

TEST_F(InstallFilesTest, AMissingOrDamagedEntryFailsAndKeepsTheInstalledFile) {
  // Larger than a piece of the inflating: the damage shows only once part of the file is written.
  std::vector<uint8_t> image = testing::BuildArchive({{"Quillfen.exe", testing::PseudoRandom(600000, 1)}});
  image.back() ^= 0xFF;  // the Adler-32 of the stream no longer matches
  OpenPackageImage(image);
  ASSERT_TRUE(fs_->MakeFolder(App().c_str()));
  ASSERT_TRUE(folder_.WriteFile("app\\Quillfen.exe", "working program"));
  ASSERT_TRUE(folder_.WriteFile("app\\readme.chm", "old readme"));
  for (const char* name : {"Quillfen.exe", "readme.chm"}) {
    list_.clear();
    Add(kExtractEntry, name);
    EXPECT_FALSE(Run()) << name;
  }
  EXPECT_EQ(Installed(), (TreeSnapshot{{"Quillfen.exe", "working program"}, {"readme.chm", "old readme"}}));

  // Where nothing was, nothing is left; a file whose path leaves no room for a name beside it is
  // written over only once the whole entry has proved sound.
  const std::string deep(255 - strlen("\\Quillfen.exe") - folder_.PathOf("").size(), 'd');
  ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf(deep).c_str()));
  ASSERT_TRUE(folder_.WriteFile(deep + "\\Quillfen.exe", "working program"));
  for (const std::string& dir : {folder_.PathOf("fresh"), folder_.PathOf(deep)}) {
    SetInstallDir(dir);
    list_.clear();
    Add(kExtractEntry, "Quillfen.exe");
    EXPECT_FALSE(Run()) << dir;
  }
  EXPECT_EQ("<gone>", Item(testing::Snapshot(*fs_, folder_.path()), "fresh\\Quillfen.exe"));
  EXPECT_EQ(Installed(), (TreeSnapshot{{"Quillfen.exe", "working program"}}));
}

TEST_F(InstallFilesTest, CopiesFilesOverExistingOnesWithNormalAttributes) {
  OpenPackageOf({});
  WriteMedium("setup.ini", "ini");
  MakeMediumFolder("src");
  WriteMedium("src\\a.txt", "a");
  ASSERT_TRUE(testing::MakeReadOnly(Medium() + "\\src\\a.txt"));
  ASSERT_TRUE(fs_->MakeFolder(App().c_str()));
  ASSERT_TRUE(folder_.WriteFile("app\\b.txt", "the old b"));
  Add(kCopyFile, "setup.ini");
  Add(kCopyFile, "src\\a.txt,b.txt");
  Add(kCopyFile, Medium() + "\\setup.ini,absolute.ini");
  EXPECT_TRUE(Run());
  EXPECT_EQ(Installed(), (TreeSnapshot{{"setup.ini", "ini"}, {"b.txt", "a"}, {"absolute.ini", "ini"}}));
  EXPECT_EQ(view_.positionHistory.size(), 3u);
  // The read-only mark of the medium did not come along: the copy can go again.
  EXPECT_TRUE(fs_->RemoveFile(App("b.txt").c_str()));
}

// A program that takes only its built-in package reads nothing of the folder it starts from (a
// downloads folder): a #C or #H source found from there fails its entry, a full path does not.
TEST_F(InstallFilesTest, ABuiltInPackageCopiesNothingFromTheStartFolder) {
  resources_.Add(135, testing::BuildArchive({}));
  ASSERT_TRUE(archive_.OpenBuiltIn(resources_, 135));
  WriteMedium("setup.ini", "ini");
  MakeMediumFolder("tree");
  WriteMedium("tree\\a.txt", "a");
  for (const auto& [type, text] : std::vector<std::pair<uint8_t, std::string>>{
           {kCopyFile, "setup.ini"}, {kCopyTree, "tree,t"}, {kCopyFile, "C:setup.ini,x"}, {kCopyTree, "\\tree,u"}}) {
    list_.clear();
    Add(type, text);
    EXPECT_FALSE(Run()) << text;
  }
  list_.clear();
  Add(kCopyFile, Medium() + "\\setup.ini,full.ini");
  Add(kCopyTree, Medium() + "\\tree,t");
  EXPECT_TRUE(Run());
  EXPECT_EQ(Installed(), (TreeSnapshot{{"full.ini", "ini"}, {"t", "<folder>"}, {"t\\a.txt", "a"}}));
}

// A running program cannot be replaced: the run fails and the file stays whole, with nothing left
// beside it.
TEST_F(InstallFilesTest, AFileInUseFailsTheRunAndStaysWhole) {
  OpenPackageOf({{"Quillfen.exe", Bytes("MZ new program")}});
  WriteMedium("data.ini", "[new]");
  ASSERT_TRUE(fs_->MakeFolder(App().c_str()));
  ASSERT_TRUE(folder_.WriteFile("app\\Quillfen.exe", "MZ working program"));
  ASSERT_TRUE(folder_.WriteFile("app\\data.ini", "[old]"));
  auto program = testing::HoldOpen(App("Quillfen.exe"));
  auto data = testing::HoldOpen(App("data.ini"));
  if (program == nullptr || data == nullptr) GTEST_SKIP() << "files cannot be held against writing here";
  for (const auto& [type, text] : std::vector<std::pair<uint8_t, std::string>>{{kExtractEntry, "Quillfen.exe"},
                                                                                {kCopyFile, "data.ini"}}) {
    list_.clear();
    Add(type, text);
    EXPECT_FALSE(Run()) << text;
  }
  EXPECT_EQ(Installed(), (TreeSnapshot{{"Quillfen.exe", "MZ working program"}, {"data.ini", "[old]"}}));
}

TEST_F(InstallFilesTest, AWriteOrCopyThatFailsEndsTheRunAndKeepsTheFile) {
  OpenPackageOf({{"locked.txt", Bytes("new")}});
  WriteMedium("locked.txt", "new");
  ASSERT_TRUE(testing::MakeReadOnly(Medium() + "\\locked.txt"));  // its copies start read-only too
  MakeMediumFolder("tree");
  WriteMedium("tree\\locked.txt", "new");
  ASSERT_TRUE(fs_->MakeFolder(App().c_str()));
  ASSERT_TRUE(fs_->MakeFolder(App("tree").c_str()));
  for (const char* name : {"locked.txt", "tree\\locked.txt"}) {
    ASSERT_TRUE(folder_.WriteFile(std::string("app\\") + name, "kept"));
    ASSERT_TRUE(testing::MakeReadOnly(App(name)));
  }
  const std::vector<std::pair<uint8_t, std::string>> failing = {
      {kCopyFile, "missing.txt"}, {kCopyFile, "locked.txt"}, {kCopyTree, "tree"}, {kExtractEntry, "locked.txt"}};
  for (const auto& [type, text] : failing) {
    list_.clear();
    Add(type, text);
    Add(kWriteNewFile, "after.txt");
    EXPECT_FALSE(Run()) << text;
  }
  EXPECT_EQ(Installed(), (TreeSnapshot{{"locked.txt", "kept"}, {"tree", kFolder}, {"tree\\locked.txt", "kept"}}));
}

TEST_F(InstallFilesTest, CopiesFolderTreesButNotTheirDotFolders) {
  OpenPackageOf({});
  MakeMediumFolder("tree");
  MakeMediumFolder("tree\\sub");
  MakeMediumFolder("tree\\sub\\deeper");
  MakeMediumFolder("tree\\.git");
  MakeMediumFolder("tree\\sub\\.cache");
  WriteMedium("tree\\a.txt", "a");
  WriteMedium("tree\\.profile", "dot file");
  WriteMedium("tree\\sub\\b.txt", "b");
  WriteMedium("tree\\sub\\deeper\\c.txt", "c");
  WriteMedium("tree\\.git\\config", "not copied");
  WriteMedium("tree\\sub\\.cache\\x", "not copied");
  Add(kCopyTree, "tree,dest");
  Add(kCopyTree, "tree");
  Add(kCopyTree, "nowhere,empty");
  Add(kWriteNewFile, "after.txt");
  EXPECT_TRUE(Run());
  TreeSnapshot expected = {{"empty", kFolder}, {"after.txt", ""}};
  for (const std::string root : {"dest", "tree"}) {
    expected[root] = kFolder;
    expected[root + "\\a.txt"] = "a";
    expected[root + "\\.profile"] = "dot file";
    expected[root + "\\sub"] = kFolder;
    expected[root + "\\sub\\b.txt"] = "b";
    expected[root + "\\sub\\deeper"] = kFolder;
    expected[root + "\\sub\\deeper\\c.txt"] = "c";
  }
  EXPECT_EQ(Installed(), expected);
  EXPECT_EQ(view_.positionHistory.size(), 8u);  // one step per file copied
}

TEST_F(InstallFilesTest, NewFilesHoldExactlyTheirContentAndAreNeverReplaced) {
  Add(kWriteNewFile, "flag.txt,1,2");
  Add(kWriteNewFile, "empty.txt");
  Add(kWriteNewFile, "comma.txt,");
  const std::string before = ListBytes();
  EXPECT_TRUE(Run());
  const TreeSnapshot expected = {{"flag.txt", "1,2"}, {"empty.txt", ""}, {"comma.txt", ""}};
  EXPECT_EQ(Installed(), expected);
  EXPECT_EQ(view_.positionHistory, (std::vector<std::pair<int, int>>{{1015, 255}}));  // no file to count

  ASSERT_TRUE(fs_->RemoveFile(App("empty.txt").c_str()));
  EXPECT_FALSE(Run());  // flag.txt is there now
  EXPECT_EQ(Installed(), (TreeSnapshot{{"flag.txt", "1,2"}, {"comma.txt", ""}}));
  EXPECT_EQ(ListBytes(), before);
}

struct ConditionCase {
  const char* name;
  const char* number;
  uint8_t optionChoice;
  bool carriedOut;
};

void PrintTo(const ConditionCase& c, std::ostream* out) {
  *out << "#Z=" << c.number << " with option " << int(c.optionChoice);
}

class InstallConditionTest : public InstallFilesTest, public ::testing::WithParamInterface<ConditionCase> {};

TEST_P(InstallConditionTest, ComparesTheLow8BitsWithTheOptionChosen) {
  optionChoice_ = GetParam().optionChoice;
  Add(kIfOptionIs, GetParam().number);
  Add(kWriteNewFile, "guarded.txt");
  Add(kWriteNewFile, "always.txt");
  EXPECT_TRUE(Run());
  TreeSnapshot expected = {{"always.txt", ""}};
  if (GetParam().carriedOut) expected["guarded.txt"] = "";
  EXPECT_EQ(Installed(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, InstallConditionTest,
    ::testing::Values(ConditionCase{"Zero", "0", 0, true}, ConditionCase{"One", "1", 0, false},
                      ConditionCase{"Low8BitsOf256", "256", 0, true}, ConditionCase{"NoDigits", "abc", 0, true},
                      ConditionCase{"BlankAndMinus256", " -256", 0, true}, ConditionCase{"All8Bits", "255", 0, false},
                      ConditionCase{"Low8BitsOf257ForOption1", "257", 1, true},
                      ConditionCase{"ZeroForOption1", "0", 1, false}),
    [](const ::testing::TestParamInfo<ConditionCase>& c) { return std::string(c.param.name); });

TEST_F(InstallFilesTest, AConditionPassesOverTheNextEntryUnread) {
  Add(kIfOptionIs, "1");
  Add(kIfOptionIs, "1");  // skipped: had it been read, it would skip the next one
  Add(kWriteNewFile, "carried.txt");
  Add(0, "zero.txt");
  Add(7, "seven.txt");
  Add(255, "high.txt");
  Add(kIfOptionIs, "1");  // last: nothing left to skip
  EXPECT_TRUE(Run());
  EXPECT_EQ(Installed(), (TreeSnapshot{{"carried.txt", ""}}));
}

// The bar and its text count the bytes written (an empty file as one), from 0 at each run, reach
// their end with the last file only, and are touched only when what they show changes.
TEST_F(InstallFilesTest, TheProgressCountsTheBytesWrittenFrom0AtEachRun) {
  OpenPackageOf({{"a.bin", std::vector<uint8_t>(100, 'a')},
                 {"b.bin", std::vector<uint8_t>(300, 'b')},
                 {"empty.bin", {}},
                 {"skipped.bin", std::vector<uint8_t>(10000, 's')}});
  WriteMedium("c.txt", std::string(99, 'c'));
  Add(kExtractEntry, "a.bin");
  Add(kExtractEntry, "b.bin");
  Add(kIfOptionIs, "1");
  Add(kExtractEntry, "skipped.bin");  // passed over, so not counted
  Add(kExtractEntry, "empty.bin");
  Add(kCopyFile, "c.txt");  // 500 units in all
  using Texts = std::vector<std::pair<int, std::string>>;
  using Positions = std::vector<std::pair<int, int>>;
  const Texts texts{{1016, "20%"}, {1016, "80%"}, {1016, "100%"}};
  const Positions positions{{1015, 51}, {1015, 204}, {1015, 255}};
  EXPECT_TRUE(Run());
  EXPECT_EQ(view_.textHistory, texts);
  EXPECT_EQ(view_.positionHistory, positions);

  view_.textHistory.clear();
  view_.positionHistory.clear();
  EXPECT_TRUE(Run());
  EXPECT_EQ(view_.textHistory, (Texts{{1016, "0%"}, texts[0], texts[1], texts[2]}));
  EXPECT_EQ(view_.positionHistory, (Positions{{1015, 0}, positions[0], positions[1], positions[2]}));

  // A run that fails never shows its end.
  Add(kCopyFile, "missing.txt");
  view_.textHistory.clear();
  EXPECT_FALSE(Run());
  EXPECT_EQ(view_.textHistory.back().second, "99%");
  EXPECT_EQ(Position(), 254);
}

TEST_F(InstallFilesTest, ARetryAfterAFailureCarriesOutTheSameEntries) {
  OpenPackageOf({});
  WriteMedium("src.txt", "source");
  MakeMediumFolder("tree");
  WriteMedium("tree\\t.txt", "t");
  Add(kMakeFolder, "data");
  Add(kCopyFile, "src.txt,data\\copy.txt");
  Add(kWriteNewFile, "flag.txt,a,b");
  Add(kCopyTree, "tree,t");
  Add(kCopyFile, "missing.txt");
  Add(kWriteNewFile, "never.txt");
  const std::string before = ListBytes();

  EXPECT_FALSE(Run());
  const TreeSnapshot first = Installed();
  EXPECT_EQ(first, (TreeSnapshot{{"data", kFolder},
                                 {"data\\copy.txt", "source"},
                                 {"flag.txt", "a,b"},
                                 {"t", kFolder},
                                 {"t\\t.txt", "t"}}));
  EXPECT_EQ(ListBytes(), before);

  DeleteFolderTree(*fs_, installDir_);
  EXPECT_FALSE(Run());
  EXPECT_EQ(Installed(), first);
  EXPECT_EQ(ListBytes(), before);
}

TEST_F(InstallFilesTest, PathsLongerThan259BytesFailTheRunWithoutWriting) {
  // An install folder that leaves exactly 259 bytes for a 20-byte name.
  std::string dir = folder_.PathOf("");
  dir += std::string(238 - dir.size(), 'd');
  SetInstallDir(dir);
  const std::string fits(20, 'f'), tooLong(21, 'g');
  ASSERT_EQ((dir + "\\" + fits).size(), 259u);
  Add(kWriteNewFile, fits);
  EXPECT_TRUE(Run());
  // Sources that exist, so that only the length of the destination can fail them.
  OpenPackageOf({{tooLong, Bytes("entry")}});
  WriteMedium(tooLong, "medium");
  for (uint8_t type : {kWriteNewFile, kExtractEntry, kCopyFile, kMakeFolder}) {
    list_.clear();
    Add(type, tooLong);
    EXPECT_FALSE(Run()) << int(type);
  }
  EXPECT_EQ(Installed(), (TreeSnapshot{{fits, ""}}));

  // A tree whose copies would grow past the limit deeper down.
  MakeMediumFolder("tree");
  MakeMediumFolder("tree\\" + std::string(10, 's'));
  WriteMedium("tree\\" + std::string(10, 's') + "\\" + std::string(10, 'x'), "x");
  list_.clear();
  Add(kCopyTree, "tree,t");
  EXPECT_FALSE(Run());

  char over[400];
  memset(over, 'p', sizeof over - 1);
  over[sizeof over - 1] = '\0';
  EXPECT_FALSE(CreateFolderPath(*fs_, over));
}

TEST_F(InstallFilesTest, CreateFolderPathMakesEveryMissingLevelOnce) {
  const std::string deep = folder_.PathOf("A\\B\\C");
  EXPECT_TRUE(CreateFolderPath(*fs_, deep.c_str()));
  const TreeSnapshot made = testing::Snapshot(*fs_, folder_.path());
  EXPECT_EQ(made, (TreeSnapshot{{"A", kFolder}, {"A\\B", kFolder}, {"A\\B\\C", kFolder}, {"medium", kFolder}}));
  EXPECT_FALSE(CreateFolderPath(*fs_, deep.c_str()));
  EXPECT_FALSE(CreateFolderPath(*fs_, folder_.PathOf("A").c_str()));
  EXPECT_EQ(testing::Snapshot(*fs_, folder_.path()), made);

  // Names whose last byte is 0x5C are not cut there.
  const std::string japanese = kSoft + "\\" + kTable + "\\" + kTable;
  EXPECT_TRUE(CreateFolderPath(*fs_, folder_.PathOf(japanese).c_str()));
  TreeSnapshot withJapanese = made;
  withJapanese[kSoft] = kFolder;
  withJapanese[kSoft + "\\" + kTable] = kFolder;
  withJapanese[japanese] = kFolder;
  EXPECT_EQ(testing::Snapshot(*fs_, folder_.path()), withJapanese);

  // '/' separates as '\\' does, as in "#F=docs/manual".
  EXPECT_TRUE(CreateFolderPath(*fs_, folder_.PathOf("D/E\\F").c_str()));
  withJapanese["D"] = withJapanese["D\\E"] = withJapanese["D\\E\\F"] = kFolder;
  EXPECT_EQ(testing::Snapshot(*fs_, folder_.path()), withJapanese);

  // A file in the way: nothing is made, not even beside it at a cut through "表".
  ASSERT_TRUE(folder_.WriteFile(kTable, ""));
  withJapanese[kTable] = "";
  EXPECT_FALSE(CreateFolderPath(*fs_, folder_.PathOf(kTable + "\\below").c_str()));
  EXPECT_EQ(testing::Snapshot(*fs_, folder_.path()), withJapanese);
}

}  // namespace
}  // namespace setup
