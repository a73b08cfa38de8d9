#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "fakes/fake_program_process.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/test_archive.h"
#include "fakes/test_bitmap.h"
#include "app/session.h"
#include "app/uninstall_entry.h"
#include "zarc/pe/icon_version.h"
#include "platform/platform_fixture.h"

namespace setup {
namespace {

using testing::BuildArchive;
using testing::Bytes;
using testing::MakeBitmap;
using testing::TestEntry;

// Records what the main window would find when it opens.
class RecordingHost : public MainWindowHost {
 public:
  void RunMainWindow(SetupSession& session) override {
    ++runs;
    const Pictures& p = session.pictures;
    picturesSet = p.pictureInfo && p.pictureBits && p.partsInfo && p.partsBits;
    packageOpen = session.archive.source() != kPackageClosed;
    caption = session.script.mainFolderName;
    installed = session.installation.installed;
    installedVersion = session.installation.installedVersion;
    executePath = session.installation.executePath;
    mainPath = session.installation.mainPath;
    listed = session.listing.listed;
    listedVersion = session.listing.version;
    publisher = session.listing.publisher;
    installDate = session.listing.installDate;
  }
  int RunUninstaller(SetupSession& session) override {
    ++uninstallerRuns;
    return 1605;
  }
  int runs = 0;
  int uninstallerRuns = 0;
  bool listed = false;
  std::u16string listedVersion, publisher;
  std::string installDate;
  bool picturesSet = false;
  bool packageOpen = false;
  std::string caption;
  int32_t installed = -1;
  uint32_t installedVersion = 0xDEADu;
  std::string executePath = "<unset>";
  std::string mainPath = "<unset>";
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_ = testing::MakeRegistry();
    recordPath_ = std::string(".Default\\Software\\SetupTestsStartup\\") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override {
    if (auto maker = registry_->OpenOrCreate(RegistryRoot::kUsers, ".Default\\Software")) {
      maker->DeleteSubkey(recordPath_.c_str() + strlen(".Default\\Software\\"));
      maker->DeleteSubkey("SetupTestsStartup");
    }
  }

  std::string Script(const char* caption) {
    return std::string("#T=") + caption + "\r\n#G=" + recordPath_ + "\r\n#I=a.exe\r\n";
  }

  std::vector<TestEntry> Package(const char* caption) {
    return {{"setup.txt", Bytes(Script(caption))},
            {"setup256.bmp", MakeBitmap(320, 192, 8)},
            {"parts.bmp", MakeBitmap(64, 1024, 24)}};
  }

  int Run() { return RunSetupProgram(files_, *registry_, resources_, process_, host_); }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
  std::unique_ptr<Registry> registry_;
  std::string recordPath_;
  RecordingHost host_;
  testing::FakeProgramProcess process_;
};

// What start-up loaded goes with its session once the window has closed (the asan preset reports
// what would stay).
TEST_F(StartupTest, ShowsTheMainWindowWithEverythingLoaded) {
  resources_.Add(135, BuildArchive(Package("Quillfen")));
  EXPECT_EQ(0, Run());
  EXPECT_EQ(1, host_.runs);
  EXPECT_TRUE(host_.picturesSet);
  EXPECT_TRUE(host_.packageOpen);
  EXPECT_EQ("Quillfen", host_.caption);
  EXPECT_EQ(0, host_.installed);
  EXPECT_EQ(0u, host_.installedVersion);
  EXPECT_EQ("", host_.executePath);
}

TEST_F(StartupTest, AFilesZarcInTheCurrentFolderWins) {
  resources_.Add(135, BuildArchive(Package("BuiltIn")));
  files_.AddFile("files.zarc", BuildArchive(Package("FromFile")));
  Run();
  EXPECT_EQ("FromFile", host_.caption);
}

// A program that zarc setup made says whether its folder takes part; a damaged record says no.
TEST_F(StartupTest, TheCurrentFolderTakesPartOnlyWhenTheProgramSaysSo) {
  std::vector<TestEntry> builtIn = Package("BuiltIn");
  builtIn.push_back({"a.exe", Bytes("inside")});
  resources_.Add(135, BuildArchive(builtIn));
  const struct {
    const char* rogue;  // what the current folder holds besides a rogue a.exe
    std::string record;
    const char* caption;
    const char* entry;  // what a.exe then reads
  } cases[] = {
      {"setup.txt", std::string("ZSRC\1\0\0\0", 8), "FromFolder", "rogue"},
      {"setup.txt", std::string("ZSRC\0\0\0\0", 8), "BuiltIn", "inside"},
      {"setup.txt", std::string("ZSRC\1\0\0", 7), "BuiltIn", "inside"},
      {"setup.txt", std::string("ZSRX\1\0\0\0", 8), "BuiltIn", "inside"},
      {"files.zarc", std::string("ZSRC\1\0\0\0", 8), "FromFile", "rogue"},
      {"files.zarc", std::string("ZSRC\0\0\0\0", 8), "BuiltIn", "inside"},
  };
  for (const auto& c : cases) {
    testing::FakeFileSystem files;
    files.AddFile("a.exe", "rogue");
    files.AddFile(c.rogue, std::string(c.rogue) == "setup.txt" ? Bytes(Script("FromFolder"))
                                                               : BuildArchive(Package("FromFile")));
    resources_.Add(136, Bytes(c.record));
    struct : RecordingHost {
      void RunMainWindow(SetupSession& session) override {
        RecordingHost::RunMainWindow(session);
        MemoryStream stream;
        if (session.archive.Load("a.exe", stream)) {
          entry.assign(stream.CurrentData(), stream.CurrentData() + stream.Size());
        }
      }
      std::string entry;
    } host;
    RunSetupProgram(files, *registry_, resources_, process_, host);
    EXPECT_EQ(c.caption, host.caption) << c.rogue << " " << c.record;
    EXPECT_EQ(c.entry, host.entry) << c.rogue << " " << c.record;
  }
}

// The record's other flags: the uninstaller runs instead of the window (and needs no pictures), and
// a setup that carries zarc's uninstaller lists the product with what zarc wrote into the program.
TEST_F(StartupTest, TheRecordMakesTheUninstallerOrListsTheProduct) {
  std::vector<TestEntry> withoutPictures = {Package("x")[0]};
  resources_.Add(135, BuildArchive(withoutPictures));
  resources_.Add(136, Bytes(std::string("ZSRC\2\0\0\0", 8)));
  EXPECT_EQ(1605, Run());
  EXPECT_EQ(1, host_.uninstallerRuns);
  EXPECT_EQ(0, host_.runs);

  resources_.Add(135, BuildArchive(Package("x")));
  resources_.Add(136, Bytes(std::string("ZSRC\4\0\0\0", 8)));
  zarc::VersionStrings strings;
  strings.productVersion = u"2.10.3";
  strings.company = u"M\u00fcller \u682a\u5f0f\u4f1a\u793e";  // no code page 932 for the u-umlaut
  strings.description = u"CompanyName";                       // a value is not a key
  const uint16_t version[4] = {2, 10, 3, 0};
  resources_.SetVersionInformation(zarc::VersionResource(strings, version).data);
  EXPECT_EQ(0, Run());
  EXPECT_TRUE(host_.listed);
  EXPECT_EQ(u"2.10.3", host_.listedVersion);
  EXPECT_EQ(strings.company, host_.publisher);
  EXPECT_EQ("20261210", host_.installDate);

  // Damaged version information gives no text, never a read outside it.
  std::vector<uint8_t> cut = zarc::VersionResource(strings, version).data;
  for (size_t size : {size_t(0), size_t(7), cut.size() / 2, cut.size() - 1}) {
    char16_t value[8] = u"x";
    EXPECT_FALSE(FindVersionString(cut.data(), uint32_t(size), "CompanyName", value, 8)) << size;
  }
  char16_t shortValue[4];
  ASSERT_TRUE(FindVersionString(cut.data(), uint32_t(cut.size()), "ProductVersion", shortValue, 4));
  EXPECT_EQ(std::u16string(u"2.1"), shortValue);  // cut to its room, with its NUL
}

TEST_F(StartupTest, EndsSilentlyWhenAPieceIsMissing) {
  const char* pieces[] = {"setup.txt", "setup256.bmp", "parts.bmp"};
  for (const char* missing : pieces) {
    std::vector<TestEntry> entries;
    for (const TestEntry& entry : Package("x")) {
      if (entry.name != missing) entries.push_back(entry);
    }
    MemoryResources resources;
    resources.Add(135, BuildArchive(entries));
    RecordingHost host;
    EXPECT_EQ(0, RunSetupProgram(files_, *registry_, resources, process_, host)) << missing;
    EXPECT_EQ(0, host.runs) << missing;
  }
  EXPECT_EQ(0, Run());  // no package at all
  EXPECT_EQ(0, host_.runs);
}

TEST_F(StartupTest, APictureThatDoesNotFitItsEntryEndsSilently) {
  std::vector<TestEntry> entries = Package("x");
  testing::Poke32(entries[1].data, testing::kOffBitsField, 1u << 20);
  resources_.Add(135, BuildArchive(entries));
  Run();
  EXPECT_EQ(0, host_.runs);
}

TEST_F(StartupTest, TheRecordedProgramMustExistToCountAsInstalled) {
  resources_.Add(135, BuildArchive(Package("x")));
  {
    auto record = registry_->OpenOrCreate(RegistryRoot::kUsers, recordPath_.c_str());
    record->SetString("ExecutePath", "C:\\Games\\Quillfen\\Quillfen.exe");
    record->SetString("MainPath", "C:\\Games\\Quillfen");
    record->SetNumber("Version", 4);
  }
  Run();
  EXPECT_EQ(0, host_.installed);  // the file is gone
  EXPECT_EQ("C:\\Games\\Quillfen", host_.mainPath);
  EXPECT_EQ(4u, host_.installedVersion);

  files_.AddFile("C:\\Games\\Quillfen\\Quillfen.exe", "MZ");
  Run();
  EXPECT_EQ(2, host_.runs);
  EXPECT_EQ(1, host_.installed);
}

}  // namespace
}  // namespace setup
