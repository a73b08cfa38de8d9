// The three roads through the main window, each driven on in-memory files and the platform's
// registry, with the nested dialogs answered from a script.
#include "app/flows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/control_ids.h"
#include "app/install_record.h"
#include "app/main_window.h"
#include "app/registry_probe.h"
#include "app/setup_state.h"
#include "app/texts.h"
#include "archive/package_archive.h"
#include "chunkfile/chunk_format.h"
#include "chunkfile/chunk_reader.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_view.h"
#include "fakes/product_script.h"
#include "fakes/test_archive.h"
#include "install/install_run.h"
#include "platform/platform_fixture.h"
#include "platform/threads.h"

namespace setup {
namespace {

using testing::Bytes;
using testing::FakeView;

// Starts no install run by itself: the test runs the worker when it chooses, as the system would
// later. The install engine's pool gets the platform's own threads.
class FakeThreads : public Threads {
 public:
  void* Start(void (*routine)(void*), void* argument) override {
    if (routine != RunInstall) return real_->Start(routine, argument);
    pending = routine;
    pendingArgument = argument;
    return &started;
  }
  void Close(void* thread) override { closed.push_back(thread); }
  void Join(void* thread) override { real_->Join(thread); }
  int ProcessorCount() override { return real_->ProcessorCount(); }
  std::unique_ptr<ThreadLock> NewLock() override { return real_->NewLock(); }
  void RunWorker() {
    ASSERT_NE(nullptr, pending);
    auto routine = pending;
    pending = nullptr;
    routine(pendingArgument);
  }
  void (*pending)(void*) = nullptr;
  void* pendingArgument = nullptr;
  int started = 0;
  std::vector<void*> closed;

 private:
  std::unique_ptr<Threads> real_ = testing::MakeThreads();
};

const char kInstallDir[] = "C:\\Games\\Quillfen";
const char kPrograms[] = "C:\\Users\\me\\Start Menu\\Programs";
const char kDesktop[] = "C:\\Users\\me\\Desktop";

class FlowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSetupState();
    record_ = std::string(".Default\\Software\\SetupTestsFlows\\") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    testing::SetProductScript(record_.c_str(), kInstallDir);
    setupState.requiredMB = 1;
    AddEntry(kExtractEntry, "Quillfen.exe");
    AddEntry(kExtractEntry, "readme.txt");
    resources_.Add(135, testing::BuildArchive({{"Quillfen.exe", Bytes("MZ new program")},
                                               {"readme.txt", Bytes("readme")}}));
    ASSERT_TRUE(OpenPackage(files_, resources_, 135));
    files_.AddFolder("C:\\Games");
    files_.AddFolder("C:\\Users");
    files_.AddFolder("C:\\Users\\me");
    files_.AddFolder(kDesktop);
    files_.AddFolder("C:\\Users\\me\\Start Menu");
    files_.AddFolder(kPrograms);
    files_.freeBytes["C:\\"] = 100ull << 20;
    shell_.desktop = kDesktop;
    shell_.programs = kPrograms;
    platform_.threads = &threads_;
    // The options dialog, as a user who confirms what it proposes.
    view_.nestedDialog = [this](int id) {
      if (id == IDD_INSTALL_OPTIONS) {
        if (!confirmOptions_) return IDC_DISMISS;
        strcpy(setupState.installDir, setupState.versionUpMode ? setupState.mainPath : kInstallDir);
        return IDC_OK;
      }
      return id == IDD_LICENCE ? licenceAnswer_ : uninstallAnswer_;
    };
  }

  void TearDown() override {
    if (threads_.pending != nullptr) threads_.RunWorker();  // no run may outlive its test
    if (auto software = registry_->OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software")) {
      software->DeleteSubkey(record_.c_str() + strlen(".Default\\Software\\"));
      software->DeleteSubkey("SetupTestsFlows");
    }
    ClosePackage();
    ResetSetupState();
  }

  void AddEntry(uint8_t type, const char* text) {
    InstallEntry& entry = setupState.installList.entries[setupState.installList.count++];
    entry.type = type;
    strcpy(entry.text, text);
  }

  std::string File(const std::string& path) {
    if (!files_.Has(path)) return "<none>";
    const std::vector<uint8_t>& bytes = files_.Contents(path);
    return std::string(bytes.begin(), bytes.end());
  }

  uint32_t RecordedVersion() {
    uint32_t version = 0;
    registry_->OpenOrCreate(RegistryRoot::kUsers, record_.c_str())->QueryNumber("Version", &version);
    return version;
  }

  // An older installation in kInstallDir, found by start-up.
  void InstallOlderVersion() {
    files_.AddFolder(kInstallDir);
    files_.AddFile(std::string(kInstallDir) + "\\Quillfen.exe", "MZ old program");
    strcpy(setupState.mainPath, kInstallDir);
    setupState.installed = 1;
    setupState.installedVersion = 4;
    setupState.versionUpMode = 1;
  }

  testing::FakeFileSystem files_;
  testing::FakeResources resources_;
  std::unique_ptr<Registry> registry_ = testing::MakeRegistry();
  testing::FakeShell shell_;
  FakeThreads threads_;
  MainWindowPlatform platform_{files_, *registry_, shell_};
  FakeView view_{{IDC_SETUP, IDC_CANCEL}};
  std::string record_;
  bool confirmOptions_ = true;
  int licenceAnswer_ = IDC_OK;
  int uninstallAnswer_ = IDC_OK;
};

TEST_F(FlowsTest, SetupInstallsRecordsAndMakesTheChosenShortcuts) {
  setupState.makeDesktopLink = 0;
  SetupCommand(platform_, view_);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS}), view_.dialogsRun);
  EXPECT_TRUE(InstallRunning());
  EXPECT_EQ(&threads_.started, setupState.workerThread);
  threads_.RunWorker();

  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ("readme", File("C:\\Games\\Quillfen\\readme.txt"));
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kSetupSucceededText, view_.messages[0].text);
  EXPECT_EQ("SETUP", view_.messages[0].caption);
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_STREQ("C:\\Games\\Quillfen\\Quillfen.exe", setupState.executePath);
  EXPECT_STREQ(kInstallDir, setupState.mainPath);
  EXPECT_EQ(std::set<int>({IDC_CANCEL, IDC_UNINSTALL, IDC_RUN}), view_.VisibleControls());
  // The animation turns while the files are copied, and only then.
  ASSERT_EQ(2u, view_.busySwitches.size());
  EXPECT_TRUE(view_.busySwitches[0].on);
  EXPECT_EQ(-1, view_.busySwitches[0].progress);
  EXPECT_FALSE(view_.busySwitches[1].on);
  EXPECT_GT(view_.busySwitches[1].progress, 0);  // after the copying
  EXPECT_EQ(0u, view_.busySwitches[1].messagesBefore);
  EXPECT_EQ(1, setupState.licenceAccepted);
  EXPECT_EQ(nullptr, setupState.workerThread);
  EXPECT_EQ(std::vector<void*>({&threads_.started}), threads_.closed);
  EXPECT_FALSE(InstallRunning());
  // Start menu only: program, uninstaller, readme; no desktop shortcut.
  ASSERT_EQ(3u, shell_.shortcuts.size());
  for (const std::string& link : shell_.shortcuts) {
    EXPECT_EQ(0u, link.find(std::string(kPrograms) + "\\Corvane\\Quillfen\\")) << link;
    EXPECT_NE(std::string::npos, link.find(" in C:\\Games\\Quillfen")) << link;
  }
}

TEST_F(FlowsTest, CancelCannotEndTheProgramWhileTheWorkerUsesTheWindow) {
  MainWindow window(platform_, view_);
  window.Command(IDC_SETUP);
  ASSERT_TRUE(InstallRunning());
  EXPECT_TRUE(window.Command(IDC_CANCEL));  // Esc, Alt+F4 and the close box come as command 2
  EXPECT_TRUE(view_.ended.empty());
  threads_.RunWorker();
  window.Command(IDC_CANCEL);
  EXPECT_EQ(std::vector<int>({IDC_CANCEL}), view_.ended);
}

TEST_F(FlowsTest, DecliningTheLicenceEndsTheProgram) {
  licenceAnswer_ = IDC_DISMISS;
  SetupCommand(platform_, view_);
  EXPECT_EQ(std::vector<int>({IDC_SETUP}), view_.ended);
  EXPECT_EQ(0, setupState.licenceAccepted);
  EXPECT_EQ(nullptr, threads_.pending);
}

TEST_F(FlowsTest, TooLittleSpaceWarnsAndTheNextTryAsksNoLicence) {
  files_.freeBytes["C:\\"] = (1ull << 20) - 1;
  SetupCommand(platform_, view_);
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kDiskSpaceShortText, view_.messages[0].text);
  EXPECT_EQ("DISK SPACE", view_.messages[0].caption);
  EXPECT_EQ(nullptr, threads_.pending);

  files_.freeBytes["C:\\"] = 1ull << 20;  // exactly the requirement passes
  SetupCommand(platform_, view_);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS, IDD_INSTALL_OPTIONS}), view_.dialogsRun);
  EXPECT_NE(nullptr, threads_.pending);
  threads_.RunWorker();
}

TEST_F(FlowsTest, ANegativeRequirementAlwaysWarns) {
  setupState.requiredMB = -5;
  files_.freeBytes["C:\\"] = 1ull << 40;  // a terabyte: still below 4294967291 MB
  SetupCommand(platform_, view_);
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kDiskSpaceShortText, view_.messages[0].text);
}

TEST_F(FlowsTest, CancellingTheOptionsChangesNothing) {
  confirmOptions_ = false;
  SetupCommand(platform_, view_);
  EXPECT_EQ(nullptr, threads_.pending);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), view_.VisibleControls());
}

TEST_F(FlowsTest, AFailedSetupTakesBackOnlyWhatItMade) {
  files_.AddFolder(kInstallDir);
  files_.AddFile("C:\\Games\\Quillfen\\notes.txt", "the user's own");
  AddEntry(kMakeFolder, "data");
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  SetupCommand(platform_, view_);
  threads_.RunWorker();

  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kSetupFailedText, view_.messages[0].text);
  ASSERT_EQ(2u, view_.busySwitches.size());
  EXPECT_FALSE(view_.busySwitches[1].on);  // stopped before the failure is told
  EXPECT_EQ(0u, view_.busySwitches[1].messagesBefore);
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), view_.VisibleControls());
  EXPECT_EQ("the user's own", File("C:\\Games\\Quillfen\\notes.txt"));
  EXPECT_EQ("<none>", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ("<none>", File("C:\\Games\\Quillfen\\readme.txt"));
  EXPECT_FALSE(files_.MakeFolder("C:\\Games\\Quillfen"));  // kept: it held the user's file
  EXPECT_TRUE(files_.MakeFolder("C:\\Games\\Quillfen\\data"));  // gone: the run made it
  EXPECT_FALSE(testing::KeyExists(*registry_, RegistryRoot::kUsers, record_.c_str()));
  EXPECT_TRUE(shell_.shortcuts.empty());

  // Setup again: no licence, the same list carried out afresh.
  SetupCommand(platform_, view_);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS, IDD_INSTALL_OPTIONS}), view_.dialogsRun);
  threads_.RunWorker();
}

TEST_F(FlowsTest, AFailedSetupInANewFolderRemovesTheFolder) {
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  SetupCommand(platform_, view_);
  threads_.RunWorker();
  EXPECT_TRUE(files_.MakeFolder(kInstallDir));  // it was removed, so it can be made again
  EXPECT_FALSE(files_.Has("C:\\Games\\Quillfen\\Quillfen.exe"));
}

// A saved-data file of form ZIML with KTBL, a chunk of another id, and RNKS.
std::vector<uint8_t> OldSavedData() {
  std::vector<uint8_t> file = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'Z', 'I', 'M', 'L'};
  auto chunk = [&file](const char* id, const std::string& data) {
    file.insert(file.end(), id, id + 4);
    uint32_t length = uint32_t(8 + data.size());
    for (int i = 0; i < 4; ++i) file.push_back(uint8_t(length >> (8 * i)));
    file.insert(file.end(), data.begin(), data.end());
  };
  chunk("KTBL", "key table");
  chunk("XTRA", "dropped");
  chunk("RNKS", "ranks!");
  testing::Poke32(file, 4, uint32_t(file.size()));
  return file;
}

TEST_F(FlowsTest, VersionUpReplacesTheFilesAndCarriesTheSavedDataOver) {
  InstallOlderVersion();
  files_.AddFile("C:\\Games\\Quillfen\\zimel.dat", OldSavedData());
  FakeView view({IDC_VERSION_UP, IDC_CANCEL});
  view.nestedDialog = view_.nestedDialog;
  MainWindow window(platform_, view);
  VersionUpCommand(platform_, view, window);

  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  ASSERT_EQ(1u, view.messages.size());
  EXPECT_EQ(kVersionUpSucceededText, view.messages[0].text);
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_EQ(std::set<int>({IDC_CANCEL, IDC_UNINSTALL, IDC_RUN}), view.VisibleControls());

  ChunkReader reader(files_);
  ASSERT_TRUE(reader.Open("C:\\Games\\Quillfen\\zimel.dat", ChunkId("RNKS")));
  std::vector<std::string> chunks;
  for (uint32_t id = reader.NextChunk(); id != 0; id = reader.NextChunk()) {
    chunks.push_back(std::string(reinterpret_cast<const char*>(&id), 4) + "=" +
                     std::string(reinterpret_cast<const char*>(reader.ChunkData()), reader.ChunkLength() - 8));
  }
  EXPECT_EQ(std::vector<std::string>({"KTBL=key table", "RNKS=ranks!"}), chunks);
  EXPECT_EQ(3u, shell_.shortcuts.size());  // the start-menu shortcuts, made again
}

TEST_F(FlowsTest, VersionUpWithoutOldSavedDataMakesNoShortcuts) {
  InstallOlderVersion();
  files_.AddFile("C:\\Games\\Quillfen\\zimel.dat", "not a chunk file");
  FakeView view({IDC_VERSION_UP, IDC_CANCEL});
  view.nestedDialog = view_.nestedDialog;
  MainWindow window(platform_, view);
  VersionUpCommand(platform_, view, window);
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_EQ("not a chunk file", File("C:\\Games\\Quillfen\\zimel.dat"));
  EXPECT_TRUE(shell_.shortcuts.empty());
}

TEST_F(FlowsTest, AFailedVersionUpLeavesOnlyCancel) {
  InstallOlderVersion();
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  FakeView view({IDC_VERSION_UP, IDC_CANCEL, IDC_SETUP, IDC_RUN, IDC_UNINSTALL});
  view.nestedDialog = view_.nestedDialog;
  MainWindow window(platform_, view);
  VersionUpCommand(platform_, view, window);
  ASSERT_EQ(1u, view.messages.size());
  EXPECT_EQ(kVersionUpFailedText, view.messages[0].text);
  EXPECT_EQ(std::set<int>({IDC_CANCEL}), view.VisibleControls());
  EXPECT_EQ(0u, RecordedVersion());
  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));  // what was copied stays
}

TEST_F(FlowsTest, CancellingTheVersionUpChangesNothing) {
  InstallOlderVersion();
  confirmOptions_ = false;
  FakeView view({IDC_VERSION_UP, IDC_CANCEL});
  view.nestedDialog = view_.nestedDialog;
  MainWindow window(platform_, view);
  VersionUpCommand(platform_, view, window);
  EXPECT_EQ("MZ old program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ(std::set<int>({IDC_VERSION_UP, IDC_CANCEL}), view.VisibleControls());
}

class UninstallTest : public FlowsTest {
 protected:
  void Installed() {
    SetupCommand(platform_, view_);
    threads_.RunWorker();
    ASSERT_EQ(5u, RecordedVersion());
    view_.messages.clear();
    files_.AddFile(std::string(kDesktop) + "\\Quillfen.lnk", "link");
    files_.AddFolder(std::string(kPrograms) + "\\Corvane");
    files_.AddFolder(std::string(kPrograms) + "\\Corvane\\Quillfen");
    files_.AddFile(std::string(kPrograms) + "\\Corvane\\Quillfen\\Quillfen.lnk", "link");
  }
};

TEST_F(UninstallTest, RemovesTheInstallationAndEnds) {
  Installed();
  UninstallCommand(platform_, view_);
  EXPECT_FALSE(files_.Has("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_TRUE(files_.MakeFolder(kInstallDir));
  EXPECT_FALSE(files_.Has(std::string(kDesktop) + "\\Quillfen.lnk"));
  EXPECT_TRUE(files_.MakeFolder((std::string(kPrograms) + "\\Corvane").c_str()));  // the maker's, now empty
  EXPECT_FALSE(files_.MakeFolder(kPrograms));
  EXPECT_FALSE(testing::KeyExists(*registry_, RegistryRoot::kUsers, record_.c_str()));
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kUninstalledText, view_.messages[0].text);
  EXPECT_EQ("UnInstall", view_.messages[0].caption);
  EXPECT_EQ(std::vector<int>({IDC_UNINSTALL}), view_.ended);
}

TEST_F(UninstallTest, KeepsTheMakersFolderWhileAnotherProductIsInIt) {
  Installed();
  files_.AddFolder(std::string(kPrograms) + "\\Corvane\\Inkwell");
  UninstallCommand(platform_, view_);
  EXPECT_FALSE(files_.MakeFolder((std::string(kPrograms) + "\\Corvane").c_str()));
  EXPECT_TRUE(files_.MakeFolder((std::string(kPrograms) + "\\Corvane\\Quillfen").c_str()));
}

TEST_F(UninstallTest, CancellingRemovesNothing) {
  Installed();
  uninstallAnswer_ = IDC_DISMISS;
  UninstallCommand(platform_, view_);
  EXPECT_TRUE(files_.Has("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_TRUE(view_.ended.empty());
}

TEST_F(UninstallTest, AnEmptyStartMenuPathNeverTouchesThePrograms) {
  Installed();
  files_.AddFile(std::string(kPrograms) + "\\Other.lnk", "another program's");
  setupState.startMenuPath[0] = '\0';
  UninstallCommand(platform_, view_);
  EXPECT_TRUE(files_.Has(std::string(kPrograms) + "\\Other.lnk"));
}

}  // namespace
}  // namespace setup
