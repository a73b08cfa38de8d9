// The three roads through the main window, each driven on in-memory files and the platform's
// registry, with the nested dialogs answered from a script.
#include "app/flows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/install_record.h"
#include "app/installed.h"
#include "app/uninstall_entry.h"
#include "app/uninstaller.h"
#include "app/main_window.h"
#include "app/registry_probe.h"
#include "app/session.h"
#include "chunkfile/chunk_format.h"
#include "chunkfile/chunk_reader.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_program_process.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_threads.h"
#include "fakes/fake_view.h"
#include "fakes/product_script.h"
#include "fakes/test_archive.h"
#include "model/control_ids.h"
#include "model/texts.h"
#include "platform/platform_fixture.h"
#include "platform/programs_in_use.h"

namespace setup {
namespace {

using testing::Bytes;
using testing::FakeView;

const char kInstallDir[] = "C:\\Games\\Quillfen";
const char kPrograms[] = "C:\\Users\\me\\Start Menu\\Programs";
const char kDesktop[] = "C:\\Users\\me\\Desktop";

class FlowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = std::string(".Default\\Software\\SetupTestsFlows\\") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    testing::SetProductScript(session_, record_.c_str(), kInstallDir);
    session_.script.requiredMB = 1;
    AddEntry(kExtractEntry, "Quillfen.exe");
    AddEntry(kExtractEntry, "readme.txt");
    resources_.Add(135, testing::BuildArchive({{"Quillfen.exe", Bytes("MZ new program")},
                                               {"readme.txt", Bytes("readme")}}));
    ASSERT_TRUE(session_.archive.Open(files_, resources_, 135));
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
        SetupChoices& choices = session_.choices;
        strcpy(choices.installDir, choices.versionUpMode ? session_.installation.mainPath : kInstallDir);
        return IDC_OK;
      }
      return id == IDD_LICENCE ? licenceAnswer_ : uninstallAnswer_;
    };
  }

  void TearDown() override {
    if (threads_.pending != nullptr) threads_.RunWorker();  // no run may outlive its test
    DeleteUninstallEntry(*registry_, record_.c_str());
    if (auto software = registry_->OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software")) {
      software->DeleteSubkey(record_.c_str() + strlen(".Default\\Software\\"));
      software->DeleteSubkey("SetupTestsFlows");
    }
  }

  void AddEntry(uint8_t type, const char* text) {
    InstallList& list = session_.script.installList;
    InstallEntry& entry = *list.Append();
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
    strcpy(session_.installation.mainPath, kInstallDir);
    session_.installation.installed = 1;
    session_.installation.installedVersion = 4;
    session_.choices.versionUpMode = 1;
  }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
  std::unique_ptr<Registry> registry_ = testing::MakeRegistry();
  testing::FakeShell shell_;
  testing::DeferredThreads threads_;
  MainWindowPlatform platform_{files_, *registry_, shell_};
  SetupSession session_;
  FakeView view_{{IDC_SETUP, IDC_CANCEL}};
  MainWindow window_{platform_, session_, view_};
  std::string record_;
  bool confirmOptions_ = true;
  int licenceAnswer_ = IDC_OK;
  int uninstallAnswer_ = IDC_OK;
};

TEST_F(FlowsTest, SetupInstallsRecordsAndMakesTheChosenShortcuts) {
  session_.choices.makeDesktopLink = 0;
  SetupCommand(window_);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS}), view_.dialogsRun);
  EXPECT_TRUE(window_.InstallRunning());
  threads_.RunWorker();

  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ("readme", File("C:\\Games\\Quillfen\\readme.txt"));
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kSetupSucceededText, view_.messages[0].text);
  EXPECT_EQ("SETUP", view_.messages[0].caption);
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_STREQ("C:\\Games\\Quillfen\\Quillfen.exe", session_.installation.executePath);
  EXPECT_STREQ(kInstallDir, session_.installation.mainPath);
  EXPECT_EQ(std::set<int>({IDC_CANCEL, IDC_UNINSTALL, IDC_RUN}), view_.VisibleControls());
  // The animation turns while the files are copied, and only then.
  ASSERT_EQ(2u, view_.busySwitches.size());
  EXPECT_TRUE(view_.busySwitches[0].on);
  EXPECT_EQ(-1, view_.busySwitches[0].progress);
  EXPECT_FALSE(view_.busySwitches[1].on);
  EXPECT_GT(view_.busySwitches[1].progress, 0);  // after the copying
  EXPECT_EQ(0u, view_.busySwitches[1].messagesBefore);
  EXPECT_EQ(1, session_.choices.licenceAccepted);
  EXPECT_TRUE(threads_.joined.empty());  // joined when the window goes
  EXPECT_FALSE(window_.InstallRunning());
  // Start menu only: program, uninstaller, readme; no desktop shortcut.
  ASSERT_EQ(3u, shell_.shortcuts.size());
  for (const std::string& link : shell_.shortcuts) {
    EXPECT_EQ(0u, link.find(std::string(kPrograms) + "\\Corvane\\Quillfen\\")) << link;
    EXPECT_NE(std::string::npos, link.find(" in C:\\Games\\Quillfen")) << link;
  }
}

TEST_F(FlowsTest, NoCommandActsWhileTheWorkerUsesTheWindow) {
  {
    FakeView view(testing::MainWindowControls());
    view.nestedDialog = view_.nestedDialog;
    MainWindow window(platform_, session_, view);
    window.Command(IDC_SETUP);
    ASSERT_TRUE(window.InstallRunning());
    EXPECT_EQ(std::vector<bool>({true}), view.sessionBlocks);  // no log-off cuts the run short
    // Esc, Alt+F4 and the close box come as command 2; Run and Uninstall show with the installed
    // layout while the worker still makes the shortcuts.
    for (int id : {IDC_CANCEL, IDC_RUN, IDC_UNINSTALL, IDC_SETUP, IDC_VERSION_UP}) {
      EXPECT_TRUE(window.Command(id)) << id;
    }
    EXPECT_TRUE(view.ended.empty());
    EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS}), view.dialogsRun);
    EXPECT_TRUE(shell_.opened.empty());
    threads_.RunWorker();
    EXPECT_EQ(std::vector<bool>({true, false}), view.sessionBlocks);
    EXPECT_TRUE(threads_.joined.empty());
    window.Command(IDC_CANCEL);
    EXPECT_EQ(std::vector<int>({IDC_CANCEL}), view.ended);
  }
  // The window never goes before its worker has ended.
  EXPECT_EQ(std::vector<void*>({&threads_.started}), threads_.joined);
}

TEST_F(FlowsTest, DecliningTheLicenceEndsTheProgram) {
  licenceAnswer_ = IDC_DISMISS;
  SetupCommand(window_);
  EXPECT_EQ(std::vector<int>({IDC_SETUP}), view_.ended);
  EXPECT_EQ(0, session_.choices.licenceAccepted);
  EXPECT_EQ(nullptr, threads_.pending);
}

TEST_F(FlowsTest, TooLittleSpaceWarnsAndTheNextTryAsksNoLicence) {
  files_.freeBytes["C:\\"] = (1ull << 20) - 1;
  SetupCommand(window_);
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kDiskSpaceShortText, view_.messages[0].text);
  EXPECT_EQ("DISK SPACE", view_.messages[0].caption);
  EXPECT_EQ(nullptr, threads_.pending);

  files_.freeBytes["C:\\"] = 1ull << 20;  // exactly the requirement passes
  SetupCommand(window_);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS, IDD_INSTALL_OPTIONS}), view_.dialogsRun);
  EXPECT_NE(nullptr, threads_.pending);
  threads_.RunWorker();
}

TEST_F(FlowsTest, ANegativeRequirementAlwaysWarns) {
  session_.script.requiredMB = -5;
  files_.freeBytes["C:\\"] = 1ull << 40;  // a terabyte: still below 4294967291 MB
  SetupCommand(window_);
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kDiskSpaceShortText, view_.messages[0].text);
}

TEST_F(FlowsTest, CancellingTheOptionsChangesNothing) {
  confirmOptions_ = false;
  SetupCommand(window_);
  EXPECT_EQ(nullptr, threads_.pending);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), view_.VisibleControls());
}

TEST_F(FlowsTest, AFailedSetupTakesBackOnlyWhatItMade) {
  files_.AddFolder(kInstallDir);
  files_.AddFile("C:\\Games\\Quillfen\\notes.txt", "the user's own");
  AddEntry(kMakeFolder, "data");
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  SetupCommand(window_);
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
  SetupCommand(window_);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS, IDD_INSTALL_OPTIONS}), view_.dialogsRun);
  threads_.RunWorker();
}

TEST_F(FlowsTest, AFailedSetupInANewFolderRemovesTheFolder) {
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  SetupCommand(window_);
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
  MainWindow window(platform_, session_, view);
  VersionUpCommand(window);
  threads_.RunWorker();

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
  MainWindow window(platform_, session_, view);
  VersionUpCommand(window);
  threads_.RunWorker();
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_EQ("not a chunk file", File("C:\\Games\\Quillfen\\zimel.dat"));
  EXPECT_TRUE(shell_.shortcuts.empty());
}

TEST_F(FlowsTest, AFailedVersionUpLeavesOnlyCancel) {
  InstallOlderVersion();
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  FakeView view({IDC_VERSION_UP, IDC_CANCEL, IDC_SETUP, IDC_RUN, IDC_UNINSTALL});
  view.nestedDialog = view_.nestedDialog;
  MainWindow window(platform_, session_, view);
  VersionUpCommand(window);
  threads_.RunWorker();
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
  MainWindow window(platform_, session_, view);
  VersionUpCommand(window);
  EXPECT_EQ("MZ old program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ(std::set<int>({IDC_VERSION_UP, IDC_CANCEL}), view.VisibleControls());
}

// The restart service as the tests script it: what it was asked about, and whom it names.
class ScriptedProgramsInUse : public ProgramsInUse {
 public:
  bool Begin() override {
    asked.emplace_back();
    return true;
  }
  bool Add(const char* const* paths, int count) override {
    asked.back().insert(asked.back().end(), paths, paths + count);
    return true;
  }
  int Holders(char* names, size_t capacity) override {
    if (holders.empty()) return 0;
    CopyText(names, capacity, holders.front().c_str());
    holders.pop_front();
    return 1;
  }
  std::vector<std::vector<std::string>> asked;
  std::deque<std::string> holders;  // one program named at each question, then none
};

std::string InUseText(const char* format, const std::string& names) {
  char text[1024];
  FormatText(text, sizeof text, format, names.c_str());
  return text;
}

// A program in use is named before anything changes: Cancel leaves the installation and the
// record as they were and offers the command again; OK looks again and goes on once it is free.
TEST_F(FlowsTest, AHeldFileIsNamedBeforeAnythingChanges) {
  InstallOlderVersion();
  const std::string program = std::string(kInstallDir) + "\\Quillfen.exe";
  files_.heldFiles[program] = -1;
  FakeView view({IDC_VERSION_UP, IDC_CANCEL});
  view.nestedDialog = view_.nestedDialog;
  view.answers = {kAnswerCancel};
  MainWindow window(platform_, session_, view);
  VersionUpCommand(window);
  threads_.RunWorker();
  ASSERT_EQ(1u, view.messages.size());
  EXPECT_EQ(InUseText(kFileInUseFormat, program), view.messages[0].text);
  EXPECT_EQ(kSetupCaption, view.messages[0].caption);
  EXPECT_EQ("MZ old program", File(program));
  EXPECT_EQ("<none>", File(std::string(kInstallDir) + "\\readme.txt"));
  EXPECT_EQ(0u, RecordedVersion());
  EXPECT_EQ(std::set<int>({IDC_VERSION_UP, IDC_CANCEL}), view.VisibleControls());

  files_.heldFiles[program] = 1;  // let go while the user reads the message
  view.messages.clear();
  VersionUpCommand(window);
  threads_.RunWorker();
  ASSERT_EQ(2u, view.messages.size());
  EXPECT_EQ(kVersionUpSucceededText, view.messages[1].text);
  EXPECT_EQ("MZ new program", File(program));
}

TEST_F(FlowsTest, TheProgramsTheSystemNamesAreShownAndAskedAboutAgain) {
  ScriptedProgramsInUse programs;
  programs.holders = {"Quillfen"};
  platform_.programsInUse = &programs;
  files_.AddFolder(kInstallDir);
  files_.AddFile(std::string(kInstallDir) + "\\Quillfen.exe", "MZ a user's own copy");
  view_.answers = {kAnswerOk};
  SetupCommand(window_);
  threads_.RunWorker();
  ASSERT_EQ(2u, view_.messages.size());
  EXPECT_EQ(InUseText(kProgramsInUseFormat, "Quillfen"), view_.messages[0].text);
  EXPECT_EQ(kSetupSucceededText, view_.messages[1].text);
  ASSERT_EQ(2u, programs.asked.size());  // asked again after OK, then went on
  EXPECT_EQ(std::vector<std::string>({std::string(kInstallDir) + "\\Quillfen.exe", std::string(kInstallDir) + "\\readme.txt"}),
            programs.asked[1]);

  // A setup cancelled there: the layout it came from, nothing made.
  session_.script = PackageScript();
  session_.choices = SetupChoices();
  testing::SetProductScript(session_, record_.c_str(), "C:\\Games\\Other");
  AddEntry(kExtractEntry, "Quillfen.exe");
  files_.AddFolder("C:\\Games\\Other");
  files_.AddFile("C:\\Games\\Other\\Quillfen.exe", "MZ held");
  files_.heldFiles["C:\\Games\\Other\\Quillfen.exe"] = -1;
  platform_.programsInUse = nullptr;
  FakeView view({IDC_SETUP, IDC_CANCEL});
  view.nestedDialog = [this](int id) {
    strcpy(session_.choices.installDir, "C:\\Games\\Other");
    return IDC_OK;
  };
  view.answers = {kAnswerCancel};
  MainWindow window(platform_, session_, view);
  SetupCommand(window);
  threads_.RunWorker();
  ASSERT_EQ(1u, view.messages.size());
  EXPECT_EQ("MZ held", File("C:\\Games\\Other\\Quillfen.exe"));
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), view.VisibleControls());
}

class UninstallTest : public FlowsTest {
 protected:
  void Installed() {
    SetupCommand(window_);
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
  UninstallCommand(window_);
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
  UninstallCommand(window_);
  EXPECT_FALSE(files_.MakeFolder((std::string(kPrograms) + "\\Corvane").c_str()));
  EXPECT_TRUE(files_.MakeFolder((std::string(kPrograms) + "\\Corvane\\Quillfen").c_str()));
}

TEST_F(UninstallTest, CancellingRemovesNothing) {
  Installed();
  uninstallAnswer_ = IDC_DISMISS;
  UninstallCommand(window_);
  EXPECT_TRUE(files_.Has("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_TRUE(view_.ended.empty());
}

TEST_F(UninstallTest, AnEmptyStartMenuPathNeverTouchesThePrograms) {
  Installed();
  files_.AddFile(std::string(kPrograms) + "\\Other.lnk", "another program's");
  session_.installation.startMenuPath[0] = '\0';
  UninstallCommand(window_);
  EXPECT_TRUE(files_.Has(std::string(kPrograms) + "\\Other.lnk"));
}

// The entry in the system's list: written by a setup whose package carries zarc's uninstaller,
// never by one with the publisher's own, and gone with every uninstall.
TEST_F(UninstallTest, TheProductIsListedOnlyWithItsOwnUninstallerAndGoesWithIt) {
  char name[kPathCapacity];
  ASSERT_TRUE(UninstallEntryName(record_.c_str(), name));
  const std::string entry = std::string(kUninstallListKey) + "\\" + name;
  Installed();
  EXPECT_FALSE(testing::KeyExists(*registry_, RegistryRoot::kLocalMachine, entry.c_str()));

  session_.listing.listed = true;
  std::copy_n(u"Corvane", 8, session_.listing.publisher);
  strcpy(session_.listing.installDate, "20261210");
  Installed();
  auto key = registry_->OpenOrCreate(RegistryRoot::kLocalMachine, entry.c_str());
  char text[kPathCapacity] = "";
  uint32_t kilobytes = 0;
  ASSERT_TRUE(key->QueryString("DisplayVersion", text, sizeof text));
  EXPECT_STREQ("5", text);  // no version information: the release the record keeps
  ASSERT_TRUE(key->QueryString("UninstallString", text, sizeof text));
  EXPECT_STREQ("\"C:\\Games\\Quillfen\\uninstall.exe\"", text);
  ASSERT_TRUE(key->QueryString("DisplayIcon", text, sizeof text));
  EXPECT_STREQ("C:\\Games\\Quillfen\\Quillfen.exe", text);
  ASSERT_TRUE(key->QueryNumber("EstimatedSize", &kilobytes));
  EXPECT_EQ(1u, kilobytes);  // 20 bytes, rounded up
  key.reset();

  UninstallCommand(window_);
  EXPECT_FALSE(testing::KeyExists(*registry_, RegistryRoot::kLocalMachine, entry.c_str()));
}

class UninstallerTest : public UninstallTest {
 protected:
  static constexpr char kOriginal[] = "C:\\Games\\Quillfen\\uninstall.exe";
  static constexpr char kCopy[] = "C:\\Temp\\zu1\\uninstall.exe";

  void SetUp() override {
    UninstallTest::SetUp();
    Installed();
    view_.dialogsRun.clear();
    files_.AddFile(kOriginal, "MZ uninstaller");
    files_.AddFolder("C:\\Temp");
    files_.AddFolder("C:\\Temp\\zu1");
    process_.path = kOriginal;
    // The copy is this program again, started with the argument, on its own path.
    process_.copy = [this](const char* argument) {
      process_.path = kCopy;
      files_.AddFile(kCopy, "MZ uninstaller");
      return RunUninstaller(platform_, process_, session_, view_, argument);
    };
  }

  int Run() { return RunUninstaller(platform_, process_, session_, view_, "ignored \"words\""); }

 public:
  void Answer(int answer) { uninstallAnswer_ = answer; }
  void HoldLock() { process_.heldElsewhere.insert("zarc-uninstall-" + EntryKey().substr(strlen(kUninstallListKey) + 1)); }
  void NoCopy() { process_.copy = nullptr; }
  void Forget() { session_.installation.mainPath[0] = '\0'; }
  std::string EntryKey() {
    char name[kPathCapacity];
    return UninstallEntryName(record_.c_str(), name) ? std::string(kUninstallListKey) + "\\" + name : "";
  }

 protected:

  testing::FakeProgramProcess process_;
};

TEST_F(UninstallerTest, TheCopyRemovesTheFolderItsOriginalRunsFromAndIsRemovedAtRestart) {
  EXPECT_EQ(0, Run());
  EXPECT_EQ(std::vector<std::string>({"\"/ORIGINAL=C:\\Games\\Quillfen\\uninstall.exe\""}), process_.copyArguments);
  EXPECT_EQ(1u, process_.locks.size());
  EXPECT_EQ(std::vector<int>({IDD_UNINSTALL}), view_.dialogsRun);
  EXPECT_TRUE(files_.MakeFolder(kInstallDir));  // gone, the running original moved out of it
  EXPECT_EQ("MZ uninstaller", File(std::string(kCopy) + ".old"));
  EXPECT_FALSE(testing::KeyExists(*registry_, RegistryRoot::kUsers, record_.c_str()));
  EXPECT_EQ(std::vector<std::string>({std::string(kCopy) + ".old", kCopy, "C:\\Temp\\zu1"}),
            process_.removedAtRestart);
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kUninstalledText, view_.messages[0].text);
}

// Every other end of the uninstaller, each on a listed product.
struct UninstallerEnd {
  const char* what;
  void (*arrange)(UninstallerTest& test);
  int exitCode;
  const char* message;  // null: none
  bool entryRemoved;
};

class UninstallerEndTest : public UninstallerTest, public ::testing::WithParamInterface<UninstallerEnd> {};

const UninstallerEnd kUninstallerEnds[] = {
    {"Cancelled", [](UninstallerTest& t) { t.Answer(IDC_DISMISS); }, 1602, nullptr, false},
    {"AnotherRuns", [](UninstallerTest& t) { t.HoldLock(); }, 1618, kUninstallerRunningText, false},
    {"NoCopy", [](UninstallerTest& t) { t.NoCopy(); }, 1603, kUninstallerNotStartedText, false},
    {"RemovedBefore", [](UninstallerTest& t) { t.Forget(); }, 1605, kAlreadyUninstalledText, true},
};

TEST_P(UninstallerEndTest, ChangesNothingButAStaleEntryAndSaysWhy) {
  const UninstallerEnd& end = GetParam();
  session_.listing.listed = true;
  RecordInstallation(platform_, session_);
  view_.messages.clear();
  end.arrange(*this);
  EXPECT_EQ(end.exitCode, Run());
  EXPECT_TRUE(files_.Has(kOriginal));
  EXPECT_TRUE(process_.removedAtRestart.empty());
  ASSERT_EQ(end.message ? 1u : 0u, view_.messages.size());
  if (end.message) {
    EXPECT_EQ(end.message, view_.messages[0].text);
  }
  EXPECT_EQ(!end.entryRemoved, testing::KeyExists(*registry_, RegistryRoot::kLocalMachine, EntryKey().c_str()));
}

INSTANTIATE_TEST_SUITE_P(Ends, UninstallerEndTest, ::testing::ValuesIn(kUninstallerEnds),
                         [](const ::testing::TestParamInfo<UninstallerEnd>& param) { return param.param.what; });

// The platform's threads, showing the test the worker of the run the window started so that the
// test can wait for it; a worker the test has joined is not joined again when the window asks.
// The engine's pool starts and joins its own threads through it from the worker.
class WatchedThreads : public Threads {
 public:
  bool Start(void (*routine)(void*), void* argument, void** handle) override {
    if (!real_->Start(routine, argument, handle)) return false;
    if (routine == RunInstall || routine == RunVersionUp) worker = *handle;
    return true;
  }
  void Join(void* thread) override {
    void* expected = thread;
    if (joinedByTest_.compare_exchange_strong(expected, nullptr)) return;
    real_->Join(thread);
    expected = thread;
    worker.compare_exchange_strong(expected, nullptr);  // the window joined its worker itself
  }
  int ProcessorCount() override { return real_->ProcessorCount(); }
  std::unique_ptr<ThreadLock> NewLock() override { return real_->NewLock(); }

  // Waits for the run's worker, if one is still to be joined.
  void JoinWorker() {
    void* thread = worker.exchange(nullptr);
    if (thread == nullptr) return;
    real_->Join(thread);
    joinedByTest_ = thread;
  }

  std::atomic<void*> worker{nullptr};  // the run's worker while no one has joined it

 private:
  std::unique_ptr<Threads> real_ = testing::MakeThreads();
  std::atomic<void*> joinedByTest_{nullptr};
};

// The roads again on the platform's own threads, the worker beside the window's thread as in the
// program (the tsan preset runs these under ThreadSanitizer).
class ThreadedFlowsTest : public FlowsTest {
 protected:
  void SetUp() override {
    FlowsTest::SetUp();
    platform_.threads = &realThreads_;
  }
  void TearDown() override {
    JoinWorker();
    platform_.threads = nullptr;  // the threads go before the fixture's window
    FlowsTest::TearDown();
  }
  void JoinWorker() { realThreads_.JoinWorker(); }

  WatchedThreads realThreads_;
};

// Holds the worker at its first message box until the test lets it go.
class GatedView : public FakeView {
 public:
  using FakeView::FakeView;
  int ShowMessage(const char* text, const char* title, uint32_t style) override {
    std::unique_lock<std::mutex> lock(mutex_);
    waiting_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_; });
    return FakeView::ShowMessage(text, title, style);
  }
  void WaitForMessage() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return waiting_; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool waiting_ = false;
  bool released_ = false;
};

TEST_F(ThreadedFlowsTest, ASetupInstallsOnItsWorker) {
  SetupCommand(window_);
  JoinWorker();
  EXPECT_FALSE(window_.InstallRunning());
  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kSetupSucceededText, view_.messages[0].text);
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_EQ(std::set<int>({IDC_CANCEL, IDC_UNINSTALL, IDC_RUN}), view_.VisibleControls());
  EXPECT_EQ(4u, shell_.shortcuts.size());  // start menu and desktop
}

TEST_F(ThreadedFlowsTest, AFailedSetupOnItsWorkerTakesItsWorkBack) {
  AddEntry(kCopyFile, "missing-on-the-medium.ini");
  SetupCommand(window_);
  JoinWorker();
  ASSERT_EQ(1u, view_.messages.size());
  EXPECT_EQ(kSetupFailedText, view_.messages[0].text);
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), view_.VisibleControls());
  EXPECT_FALSE(files_.Has("C:\\Games\\Quillfen\\Quillfen.exe"));
  EXPECT_TRUE(files_.MakeFolder(kInstallDir));
}

// The version-up copies on its worker as the setup does: the window turns the animation and takes
// no command until the worker is done; without threads it copies on the window's thread.
TEST_F(ThreadedFlowsTest, AVersionUpCopiesOnItsWorkerAndTakesNoCommandMeanwhile) {
  InstallOlderVersion();
  GatedView view({IDC_VERSION_UP, IDC_CANCEL});
  view.nestedDialog = view_.nestedDialog;
  {
    MainWindow window(platform_, session_, view);
    ASSERT_TRUE(window.Command(IDC_VERSION_UP));
    view.WaitForMessage();  // the files are in; the record is still to come
    EXPECT_NE(nullptr, realThreads_.worker.load());
    for (int id : {IDC_RUN, IDC_UNINSTALL, IDC_SETUP, IDC_VERSION_UP, IDC_CANCEL}) EXPECT_TRUE(window.Command(id));
    EXPECT_TRUE(view.ended.empty());
    EXPECT_EQ(std::vector<int>({IDD_INSTALL_OPTIONS}), view.dialogsRun);
    view.Release();
  }
  EXPECT_EQ(nullptr, realThreads_.worker.load());  // the window joined it as it went
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
  ASSERT_EQ(2u, view.busySwitches.size());
  EXPECT_TRUE(view.busySwitches[0].on);
  EXPECT_FALSE(view.busySwitches[1].on);

  InstallOlderVersion();
  platform_.threads = nullptr;
  FakeView alone({IDC_VERSION_UP, IDC_CANCEL});
  alone.nestedDialog = view_.nestedDialog;
  MainWindow window(platform_, session_, alone);
  VersionUpCommand(window);
  ASSERT_EQ(1u, alone.messages.size());
  EXPECT_EQ(kVersionUpSucceededText, alone.messages[0].text);
  EXPECT_EQ("MZ new program", File("C:\\Games\\Quillfen\\Quillfen.exe"));
}

TEST_F(ThreadedFlowsTest, CommandsPressedWhileTheWorkerRunsDoNothing) {
  GatedView view(testing::MainWindowControls());
  view.nestedDialog = view_.nestedDialog;
  {
    MainWindow window(platform_, session_, view);
    ASSERT_TRUE(window.Command(IDC_SETUP));
    view.WaitForMessage();  // the files are in; the record and the shortcuts are still to come
    for (int id : {IDC_RUN, IDC_UNINSTALL, IDC_SETUP, IDC_VERSION_UP, IDC_CANCEL}) {
      EXPECT_TRUE(window.Command(id)) << id;
    }
    EXPECT_TRUE(window.InstallRunning());
    EXPECT_TRUE(view.ended.empty());
    view.Release();
    // Cancel pressed again and again ends the program only once the worker is done with it.
    while (view.ended.empty()) window.Command(IDC_CANCEL);
    EXPECT_FALSE(window.InstallRunning());
  }  // the window waits for its worker before it goes
  EXPECT_EQ(nullptr, realThreads_.worker.load());  // the window joined it as it went
  EXPECT_EQ(std::vector<int>({IDC_CANCEL}), view.ended);
  EXPECT_EQ(std::vector<int>({IDD_LICENCE, IDD_INSTALL_OPTIONS}), view.dialogsRun);
  EXPECT_EQ(5u, RecordedVersion());
  EXPECT_EQ(4u, shell_.shortcuts.size());
}

}  // namespace
}  // namespace setup
