// Every write, rename and delete of a setup, a version-up with its saved-data conversion, and an
// uninstall is made to fail in turn (and, for the version-up, to crash), on the in-memory disk and
// on the platform's real one. Whichever step it is, the user is told the documented outcome and
// nothing is lost: the user's own files stay, each program file is the old one or the new one
// whole, the saved data is the old file or the complete new one, and the record says what is on
// the disk.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/flows.h"
#include "app/main_window.h"
#include "app/registry_probe.h"
#include "app/session.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_threads.h"
#include "fakes/fake_view.h"
#include "fakes/faulty_file_system.h"
#include "fakes/product_script.h"
#include "fakes/test_archive.h"
#include "install/tree_snapshot.h"
#include "model/control_ids.h"
#include "model/package_layout.h"
#include "model/texts.h"
#include "platform/platform_fixture.h"
#include "platform/files.h"

namespace setup {
namespace {

using testing::Bytes;
using testing::FaultyFileSystem;
using testing::TreeSnapshot;

enum class Storage { kMemory, kDisk };

// Enough package entries, two of them large, for the pool's workers to have several under way
// whichever one fails.
std::string Repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text + std::to_string(i);
  return out;
}
// What the package and the medium hold, and what an older version left in the install folder.
const std::map<std::string, std::string> kNewFiles = {
    {"Quillfen.exe", "MZ new program"},
    {"engine.dll", Repeated("MZ engine ", 4000)},
    {"sound.dll", Repeated("MZ sound ", 4000)},
    {"readme.txt", "new readme"},
    {"data.ini", "[new]"},
    {"docs\\a.txt", "new a"},
    {"docs\\sub\\b.txt", "new b"},
    {"version.txt", "5"},
};
const std::map<std::string, std::string> kOldFiles = {
    {"Quillfen.exe", "MZ old program"},
    {"readme.txt", "old readme"},
    {"data.ini", "[old]"},
    {"docs\\a.txt", "old a"},
};
const char kUserFile[] = "notes.txt";
const char kUserText[] = "the user's own";

std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string ChunkFile(const std::string& form, const std::vector<std::pair<std::string, std::string>>& chunks) {
  std::string body;
  for (const auto& [id, data] : chunks) body += id + Le32(uint32_t(8 + data.size())) + data;
  return "FORM" + Le32(uint32_t(12 + body.size())) + form + body;
}
const std::string kOldSavedData = ChunkFile("ZIML", {{"KTBL", "keys"}, {"XTRA", "dropped"}, {"RNKS", "ranks"}});
const std::string kNewSavedData = ChunkFile("RNKS", {{"KTBL", "keys"}, {"RNKS", "ranks"}});

// What a failed, crashed or finished run did, for the checks.
struct Outcome {
  const TreeSnapshot& before;
  const TreeSnapshot& after;
  const testing::FakeView& window;
  const FaultyFileSystem& faulty;
  // The one message shown, or a note of how many there were.
  std::string Message() const {
    return window.messages.size() == 1 ? window.messages[0].text
                                       : "<" + std::to_string(window.messages.size()) + " messages>";
  }
};

// The bytes of an item of a snapshot, or "<gone>".
std::string Item(const TreeSnapshot& tree, const std::string& path) {
  auto found = tree.find(path);
  return found == tree.end() ? "<gone>" : found->second;
}

std::string StorageName(const ::testing::TestParamInfo<Storage>& param) {
  return param.param == Storage::kMemory ? "Memory" : "Disk";
}

class FlowFaultTest : public ::testing::TestWithParam<Storage> {
 public:
  // The worlds before a command, each laid out by NewWorld's defaults and:
  // the user's own file in the folder a setup installs into;
  void UserFolder() { PutTree(installDir_, {{kUserFile, kUserText}}); }
  // an older version (4) in it, with the user's file and the old saved data;
  void InstallOlderVersion() {
    std::map<std::string, std::string> tree = kOldFiles;
    tree[kUserFile] = kUserText;
    tree["zimel.dat"] = kOldSavedData;
    PutTree(installDir_, tree);
    WriteRecord(4);
    Installation& s = session_.installation;
    strcpy(s.mainPath, installDir_.c_str());
    strcpy(s.executePath, (installDir_ + "\\Quillfen.exe").c_str());
    s.installed = 1;
    s.installedVersion = 4;
    session_.choices.versionUpMode = 1;
  }
  // the current version as a setup left it, with its shortcuts and the user's file.
  void InstallCurrentVersion() {
    std::map<std::string, std::string> tree = kNewFiles;
    tree[kUserFile] = kUserText;
    PutTree(installDir_, tree);
    PutTree(root_, {{"Desktop\\Quillfen.lnk", "link"},
                    {"Programs\\Corvane\\Quillfen\\Quillfen.lnk", "link"},
                    {"Programs\\Corvane\\Quillfen\\ReadMe.lnk", "link"}});
    WriteRecord(5);
    Installation& s = session_.installation;
    strcpy(s.mainPath, installDir_.c_str());
    strcpy(s.executePath, (installDir_ + "\\Quillfen.exe").c_str());
    s.installed = 1;
    s.installedVersion = 5;
  }

 protected:
  void SetUp() override {
    if (GetParam() == Storage::kDisk) {
      disk_ = testing::MakeFileSystem();
      folder_ = std::make_unique<testing::TempFolder>();
      ASSERT_TRUE(folder_->ok());
      base_ = folder_->path();
    } else {
      memory_ = std::make_unique<testing::FakeFileSystem>();
      base_ = "C:\\faults";
      memory_->AddFolder(base_);
      memory_->freeBytes["C:\\"] = 1ull << 30;
    }
    // The medium the setup runs from: the current folder, with the sources of #C and #H.
    const std::string medium = base_ + "\\medium";
    files().MakeFolder(medium.c_str());
    files().MakeFolder((medium + "\\docs").c_str());
    files().MakeFolder((medium + "\\docs\\sub").c_str());
    for (const char* name : {"data.ini", "docs\\a.txt", "docs\\sub\\b.txt"}) Put(medium + "\\" + name, kNewFiles.at(name));
    ASSERT_TRUE(files().ChangeFolder(medium.c_str()));
    std::vector<testing::TestEntry> package;
    for (const char* name : {"Quillfen.exe", "engine.dll", "sound.dll", "readme.txt"}) {
      package.push_back({name, Bytes(kNewFiles.at(name))});
    }
    resources_.Add(IDR_PACKAGE, testing::BuildArchive(package));
    ASSERT_TRUE(session_.archive.Open(files(), resources_, IDR_PACKAGE));
    record_ = std::string(".Default\\Software\\SetupTestsFaults\\") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    record_ = record_.substr(0, record_.find('/'));  // the storage suffix is no key name
  }

  void TearDown() override {
    if (auto software = registry_->OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software\\SetupTestsFaults")) {
      software->DeleteSubkey(record_.c_str() + record_.rfind('\\') + 1);
    }
    if (auto software = registry_->OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software")) {
      software->DeleteSubkey("SetupTestsFaults");
    }
  }

  FileSystem& files() { return disk_ ? *disk_ : *memory_; }

  void Put(const std::string& path, const std::string& bytes) {
    auto file = files().OpenForWriting(path.c_str(), WriteMode::kReplace);
    ASSERT_NE(nullptr, file) << path;
    ASSERT_TRUE(file->Write(bytes.data(), uint32_t(bytes.size())) && file->Close(false)) << path;
  }
  void PutTree(const std::string& folder, const std::map<std::string, std::string>& tree) {
    for (const auto& [name, bytes] : tree) {
      const std::string path = folder + "\\" + name;
      for (size_t cut = path.find('\\', base_.size() + 1); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
        files().MakeFolder(path.substr(0, cut).c_str());
      }
      Put(path, bytes);
    }
  }

  // A fresh world for attempt n: its own folders below base\n, its own record key, the script's
  // settings and install list, and no installation or choice yet, in the one session whose
  // package the fixture opened.
  void NewWorld(int n) {
    root_ = base_ + "\\" + std::to_string(n);
    installDir_ = root_ + "\\Games\\Quillfen";
    attemptRecord_ = record_ + "\\" + std::to_string(n);
    files().MakeFolder(root_.c_str());
    session_.script = PackageScript();
    session_.choices = SetupChoices();
    testing::SetProductScript(session_, attemptRecord_.c_str(), installDir_.c_str());
    AddEntry(kExtractEntry, "Quillfen.exe");
    AddEntry(kExtractEntry, "engine.dll");
    AddEntry(kExtractEntry, "sound.dll");
    AddEntry(kExtractEntry, "readme.txt");
    AddEntry(kCopyFile, "data.ini");
    AddEntry(kCopyTree, "docs");
    AddEntry(kWriteNewFile, "version.txt,5");
    shell_.desktop = root_ + "\\Desktop";
    shell_.programs = root_ + "\\Programs";
    PutTree(root_, {{"Desktop\\Other.lnk", "another program's shortcut"},
                    {"Programs\\Corvane\\Inkwell\\Inkwell.lnk", "another product of the maker"},
                    {"Games\\Other\\keep.txt", "another program's file"}});
  }

  void AddEntry(uint8_t type, const char* text) {
    InstallList& list = session_.script.installList;
    InstallEntry& entry = *list.Append();
    entry.type = type;
    strcpy(entry.text, text);
  }

  void WriteRecord(uint32_t version) {
    auto key = registry_->OpenOrCreate(RegistryRoot::kUsers, attemptRecord_.c_str());
    ASSERT_NE(nullptr, key);
    key->SetString("ExecutePath", (installDir_ + "\\Quillfen.exe").c_str());
    key->SetString("MainPath", installDir_.c_str());
    key->SetNumber("Version", version);
  }
  // The recorded version, 0 without a record; the key is not created by looking.
  uint32_t RecordedVersion() {
    if (!testing::KeyExists(*registry_, RegistryRoot::kUsers, attemptRecord_.c_str())) return 0;
    uint32_t version = 0;
    registry_->OpenOrCreate(RegistryRoot::kUsers, attemptRecord_.c_str())->QueryNumber("Version", &version);
    return version;
  }
  std::string RecordedString(const char* name) {
    char value[kPathCapacity] = "";
    registry_->OpenOrCreate(RegistryRoot::kUsers, attemptRecord_.c_str())->QueryString(name, value, sizeof value);
    return value;
  }
  void RemoveRecord() {
    const size_t cut = attemptRecord_.rfind('\\');
    if (auto parent = registry_->OpenOrCreate(RegistryRoot::kUsers, attemptRecord_.substr(0, cut).c_str())) {
      parent->DeleteSubkey(attemptRecord_.c_str() + cut + 1);
    }
  }

  // Runs one command over files that fail (or crash) at step, in a fresh world that prepare lays
  // out, with the main window showing visible, and hands the outcome to check. Returns the number
  // of steps the run took.
  using Prepare = void (FlowFaultTest::*)();
  using Command = std::function<void(MainWindow&)>;
  using Check = std::function<void(const Outcome&)>;
  int Attempt(int step, FaultyFileSystem::Mode mode, Prepare prepare, std::set<int> visible,
              const Command& command, const Check& check) {
    NewWorld(step);
    (this->*prepare)();
    const TreeSnapshot before = testing::Snapshot(files(), root_);
    FaultyFileSystem faulty(files(), mode, step);
    testing::DeferredThreads threads;
    MainWindowPlatform platform{faulty, *registry_, shell_, &threads};
    testing::FakeView window(std::move(visible));
    window.nestedDialog = [this](int id) {
      if (id == IDD_INSTALL_OPTIONS) {
        SetupChoices& choices = session_.choices;
        strcpy(choices.installDir,
               choices.versionUpMode ? session_.installation.mainPath : session_.script.defaultInstallDir);
      }
      return IDC_OK;
    };
    MainWindow mainWindow(platform, session_, window);
    command(mainWindow);
    threads.RunWorker();
    {
      SCOPED_TRACE(faulty.faulted() == nullptr ? std::string("no fault")
                                               : "fault at step " + std::to_string(step) + ": " +
                                                     faulty.faulted()->operation + " " + faulty.faulted()->path);
      check(Outcome{before, testing::Snapshot(files(), root_), window, faulty});
    }
    RemoveRecord();
    return faulty.steps();
  }

  // Attempts the command once without a fault, then once failing (or crashing) at each step.
  void Sweep(FaultyFileSystem::Mode mode, Prepare prepare, const std::set<int>& visible, const Command& command,
             const Check& check) {
    const int steps = Attempt(0, mode, prepare, visible, command, check);
    ASSERT_GT(steps, 10);
    for (int step = 1; step <= steps && !HasFailure(); ++step) Attempt(step, mode, prepare, visible, command, check);
  }

  // True when an item that should be gone is still there only because the faulted call was its
  // removal, or the removal of something inside it.
  bool KeptByFailedRemoval(const std::string& relative, const FaultyFileSystem& faulty) const {
    if (!faulty.faultedARemoval()) return false;
    const std::string path = root_ + "\\" + relative;
    const std::string& removed = faulty.faulted()->path;
    return removed == path || removed.compare(0, path.size() + 1, path + "\\") == 0;
  }

  // A path below installDir as the snapshots name it, and back: the name inside installDir of a
  // snapshot path, empty for one outside it.
  std::string InInstallDir(const std::string& name) const {
    return installDir_.substr(root_.size() + 1) + "\\" + name;
  }
  std::string NameInInstallDir(const std::string& path) const {
    const std::string prefix = InInstallDir("");
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : std::string();
  }

  std::unique_ptr<FileSystem> disk_;
  std::unique_ptr<testing::TempFolder> folder_;
  std::unique_ptr<testing::FakeFileSystem> memory_;
  std::string base_;  // every attempt's world lies below it
  MemoryResources resources_;
  std::unique_ptr<Registry> registry_ = testing::MakeRegistry();
  testing::FakeShell shell_;
  std::string record_;
  SetupSession session_;
  // The world of the attempt in progress.
  std::string root_, installDir_, attemptRecord_;
};

INSTANTIATE_TEST_SUITE_P(, FlowFaultTest, ::testing::Values(Storage::kMemory, Storage::kDisk),
                         StorageName);

TEST_P(FlowFaultTest, ASetupThatFailsAnywhereTakesBackOnlyItsOwnWork) {
  Sweep(FaultyFileSystem::Mode::kFail, &FlowFaultTest::UserFolder, {IDC_SETUP, IDC_CANCEL}, SetupCommand,
        [this](const Outcome& run) {
          if (run.Message() == kSetupSucceededText) {
            for (const auto& [name, bytes] : kNewFiles) EXPECT_EQ(bytes, Item(run.after, InInstallDir(name))) << name;
            EXPECT_EQ(kUserText, Item(run.after, InInstallDir(kUserFile)));
            EXPECT_EQ(5u, RecordedVersion());
            EXPECT_EQ(installDir_ + "\\Quillfen.exe", RecordedString("ExecutePath"));
            for (const auto& [path, bytes] : run.after) {  // no temporary file, no stray copy
              const std::string name = NameInInstallDir(path);
              EXPECT_TRUE(name.empty() || bytes == "<folder>" || kNewFiles.count(name) || name == kUserFile) << path;
            }
            return;
          }
          EXPECT_EQ(kSetupFailedText, run.Message());
          EXPECT_EQ(0u, RecordedVersion());
          for (const auto& [path, bytes] : run.before) EXPECT_EQ(bytes, Item(run.after, path)) << path;
          for (const auto& [path, bytes] : run.after) {
            EXPECT_TRUE(run.before.count(path) || KeptByFailedRemoval(path, run.faulty)) << "left behind: " << path;
          }
          EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), run.window.VisibleControls());
        });
}

class VersionUpFaultTest : public FlowFaultTest {
 protected:
  // Each program file is the old one or the new one whole, never cut short or gone; the user's file
  // stays; the saved data is the old file or, after a successful version-up, the converted one;
  // the record says version 5 exactly when the version-up succeeded, over the new files only. A
  // crash may leave a temporary file beside its target.
  void Check(const Outcome& run, bool crashes) {
    const bool succeeded = run.Message() == kVersionUpSucceededText;
    if (!succeeded) {
      EXPECT_EQ(kVersionUpFailedText, run.Message());
    }
    EXPECT_EQ(succeeded ? 5u : 4u, RecordedVersion());
    for (const auto& [path, bytes] : run.before) EXPECT_TRUE(run.after.count(path)) << "lost: " << path;
    for (const auto& [path, bytes] : run.after) {
      const std::string name = NameInInstallDir(path);
      const bool unchanged = run.before.count(path) && run.before.at(path) == bytes;
      const bool isNew = kNewFiles.count(name) && kNewFiles.at(name) == bytes;
      if (succeeded && kNewFiles.count(name)) {
        EXPECT_TRUE(isNew) << path;
      }
      if (name == "zimel.dat") {
        EXPECT_TRUE(bytes == kOldSavedData || (succeeded && bytes == kNewSavedData)) << "saved data: " << bytes;
        continue;
      }
      // A crash stops whatever was being written: a file that was not there may be left part
      // written, as may a temporary file beside one that was.
      const bool leftByCrash = crashes && run.before.count(path) == 0;
      EXPECT_TRUE(unchanged || isNew || bytes == "<folder>" || leftByCrash ||
                  KeptByFailedRemoval(path, run.faulty))
          << "half done: " << path << " = " << bytes;
    }
    if (!succeeded && !crashes) CheckOneThreadResult(run);
  }

  // A version-up that failed at entry k, however many entries the pool had under way, leaves what
  // one thread would: the files of the entries before k new, those of k and after it as they were,
  // nothing added. Inside the failed tree copy, files may be either.
  void CheckOneThreadResult(const Outcome& run) {
    const std::map<std::string, int> entryOf = {{"Quillfen.exe", 0}, {"engine.dll", 1}, {"sound.dll", 2},
                                                {"readme.txt", 3},   {"data.ini", 4},   {"docs\\a.txt", 5},
                                                {"docs\\sub\\b.txt", 5}, {"version.txt", 6}};
    ASSERT_NE(nullptr, run.faulty.faulted());
    std::string failed = NameInInstallDir(run.faulty.faulted()->path.substr(root_.size() + 1));
    const size_t temporary = failed.find(kBesideSuffix);
    if (temporary != std::string::npos) failed.erase(temporary);
    const bool inTree = failed.compare(0, 4, "docs") == 0;  // a file or folder of the #H copy
    ASSERT_TRUE(entryOf.count(failed) || inTree) << "failed at " << run.faulty.faulted()->path;
    const int k = inTree ? 5 : entryOf.at(failed);
    for (const auto& [name, entry] : entryOf) {
      const std::string path = InInstallDir(name);
      if (entry < k) {
        EXPECT_EQ(kNewFiles.at(name), Item(run.after, path)) << name << " before the failed entry";
      } else if (entry > k || failed == name) {
        EXPECT_EQ(Item(run.before, path), Item(run.after, path)) << name << " after the failed entry";
      }
    }
    for (const auto& [path, bytes] : run.after) {
      const auto entry = entryOf.find(NameInInstallDir(path));
      EXPECT_TRUE(run.before.count(path) || bytes == "<folder>" || (entry != entryOf.end() && entry->second < k) ||
                  (k == 5 && path.find("docs") != std::string::npos))
          << "added: " << path;
    }
  }
};

INSTANTIATE_TEST_SUITE_P(, VersionUpFaultTest, ::testing::Values(Storage::kMemory, Storage::kDisk),
                         StorageName);

TEST_P(VersionUpFaultTest, AFailureAnywhereLosesNoFileAndTheRecordTellsTheTruth) {
  Sweep(FaultyFileSystem::Mode::kFail, &FlowFaultTest::InstallOlderVersion, {IDC_VERSION_UP, IDC_CANCEL}, VersionUpCommand,
        [this](const Outcome& run) { Check(run, false); });
}

TEST_P(VersionUpFaultTest, ACrashAnywhereLeavesEachFileOldOrNewWhole) {
  Sweep(FaultyFileSystem::Mode::kCrash, &FlowFaultTest::InstallOlderVersion, {IDC_VERSION_UP, IDC_CANCEL},
        VersionUpCommand, [this](const Outcome& run) { Check(run, true); });
}

// Ten runs killed once their new files lie beside the old ones, then one that is not: what the
// killed runs left never blocks it, and is gone afterwards; names that only look alike stay.
TEST_P(VersionUpFaultTest, TenKilledRunsLeaveNothingThatStopsTheNext) {
  NewWorld(0);
  InstallOlderVersion();
  const std::map<std::string, std::string> lookAlikes = {{"Quillfen.exe.tmp", "the user's"},
                                                         {std::string("readme.txt") + kBesideSuffix, "the user's"}};
  PutTree(installDir_, lookAlikes);
  auto run = [&](int crashAt) {
    FaultyFileSystem faulty(files(), crashAt > 0 ? FaultyFileSystem::Mode::kCrash : FaultyFileSystem::Mode::kFail,
                            crashAt);
    testing::DeferredThreads threads;
    MainWindowPlatform platform{faulty, *registry_, shell_, &threads};
    testing::FakeView window({IDC_VERSION_UP, IDC_CANCEL});
    window.nestedDialog = [this](int) {
      strcpy(session_.choices.installDir, session_.installation.mainPath);
      return IDC_OK;
    };
    MainWindow mainWindow(platform, session_, window);
    VersionUpCommand(mainWindow);
    threads.RunWorker();
    int firstMove = 0;
    while (firstMove < faulty.steps() && faulty.calls()[firstMove].operation != "MoveOver") ++firstMove;
    return std::make_pair(window.messages.empty() ? std::string() : window.messages.back().text, firstMove + 1);
  };
  // Where the first finished file would take its place, as a count of steps (of a run that then fails).
  NewWorld(1);
  InstallOlderVersion();
  const int crashAt = run(-1).second;
  NewWorld(0);
  InstallOlderVersion();
  for (int killed = 0; killed < 10; ++killed) run(crashAt);
  EXPECT_EQ(kVersionUpSucceededText, run(0).first);
  const TreeSnapshot after = testing::Snapshot(files(), root_);
  for (const auto& [name, bytes] : kNewFiles) EXPECT_EQ(bytes, Item(after, InInstallDir(name))) << name;
  for (const auto& [name, bytes] : lookAlikes) EXPECT_EQ(bytes, Item(after, InInstallDir(name))) << name;
  for (const auto& [path, bytes] : after) {
    EXPECT_FALSE(path.find(kBesideSuffix) == path.size() - strlen(kBesideSuffix) - 1 && isdigit(path.back()))
        << "left: " << path;
  }
}

TEST_P(FlowFaultTest, AnUninstallThatCannotDeleteSomethingStillEndsAndTouchesNothingElse) {
  Sweep(FaultyFileSystem::Mode::kFail, &FlowFaultTest::InstallCurrentVersion,
        {IDC_UNINSTALL, IDC_RUN, IDC_CANCEL}, UninstallCommand, [this](const Outcome& run) {
          // As documented: the message and the end whatever was left, and the record goes.
          EXPECT_EQ(kUninstalledText, run.Message());
          EXPECT_EQ(std::vector<int>({IDC_UNINSTALL}), run.window.ended);
          EXPECT_EQ(0u, RecordedVersion());
          // What the uninstall removes: the install folder, the desktop shortcut, the start-menu folder.
          auto ours = [this](const std::string& path) {
            const std::string folder = InInstallDir(""), startMenu = "Programs\\Corvane\\Quillfen\\";
            return path + "\\" == folder || path.compare(0, folder.size(), folder) == 0 ||
                   path == "Desktop\\Quillfen.lnk" || path + "\\" == startMenu ||
                   path.compare(0, startMenu.size(), startMenu) == 0;
          };
          for (const auto& [path, bytes] : run.before) {
            if (!ours(path)) {
              EXPECT_EQ(bytes, Item(run.after, path)) << path;
            }
          }
          for (const auto& [path, bytes] : run.after) {
            if (ours(path)) {
              EXPECT_TRUE(KeptByFailedRemoval(path, run.faulty)) << "left behind: " << path;
            }
          }
        });
}

}  // namespace
}  // namespace setup
