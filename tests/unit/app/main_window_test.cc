#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/session.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_view.h"
#include "fakes/test_archive.h"
#include "fakes/test_bitmap.h"
#include "model/control_ids.h"
#include "model/package_layout.h"
#include "model/texts.h"
#include "script/install_script.h"
#include "platform/platform_fixture.h"

namespace setup {
namespace {

using testing::FakeView;
using testing::MainWindowControls;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    strcpy(session_.script.mainFolderName, "Quillfen");
    OpenPackageWith({{"setup.txt", testing::Bytes("#T=Quillfen\r\n")}});
  }

  void OpenPackageWith(const std::vector<testing::TestEntry>& entries) {
    session_.archive.Close();
    resources_.Add(135, testing::BuildArchive(entries));
    ASSERT_TRUE(session_.archive.Open(files_, resources_, 135));
  }

  FakeView Initialised() {
    FakeView view(MainWindowControls());
    MainWindow window(platform_, session_, view);
    window.Initialise(77);
    return view;
  }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
  std::unique_ptr<Registry> registry_ = testing::MakeRegistry();
  testing::FakeShell shell_;
  MainWindowPlatform platform_{files_, *registry_, shell_};
  SetupSession session_;
};

TEST_F(MainWindowTest, AnOlderInstallationOffersTheVersionUp) {
  for (uint32_t version : {0u, 4u}) {
    session_.installation.installed = 1;
    session_.installation.installedVersion = version;
    session_.choices.versionUpMode = 0;
    FakeView view = Initialised();
    EXPECT_EQ(std::set<int>({IDC_VERSION_UP, IDC_CANCEL}), view.VisibleControls()) << version;
    EXPECT_EQ(1, session_.choices.versionUpMode);
    EXPECT_EQ("Quillfen", view.caption);
    EXPECT_EQ(std::make_pair(0, 255), view.ranges[IDC_PROGRESS]);
    EXPECT_TRUE(view.messages.empty());
  }
}

// The package's version, as the script gives it (or not), against the version recorded: below it
// offers the version-up, equal or above the maintenance layout.
TEST_F(MainWindowTest, TheRecordedVersionIsComparedWithThePackagesOwn) {
  const std::set<int> versionUp = {IDC_VERSION_UP, IDC_CANCEL}, maintenance = {IDC_RUN, IDC_UNINSTALL, IDC_CANCEL};
  const struct {
    const char* script;
    uint32_t recorded;
    const std::set<int>& layout;
  } cases[] = {
      {"", 4, versionUp},  // no #V: version 5, as always
      {"", 5, maintenance},
      {"#V=7\r\n", 0, versionUp},  // a record without "Version" is older
      {"#V=7\r\n", 6, versionUp},
      {"#V=7\r\n", 7, maintenance},
      {"#V=7\r\n", 8, maintenance},  // an older package never downgrades
      {"#V= 12 and more\r\n", 11, versionUp},
      {"#V=4294967295\r\n", 4294967294u, versionUp},
      {"#V=4294967295\r\n", 4294967295u, maintenance},
      // No version the program can compare: the line is ignored, and an earlier #V or 5 holds.
      {"#V=0\r\n", 4, versionUp},
      {"#V=0\r\n", 5, maintenance},
      {"#V=abc\r\n", 5, maintenance},
      {"#V=-7\r\n", 5, maintenance},
      {"#V=4294967296\r\n", 5, maintenance},
      {"#V=9\r\n#V=\r\n", 8, versionUp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.script) + " over " + std::to_string(c.recorded));
    session_.script = PackageScript();
    session_.choices = SetupChoices();
    OpenPackageWith({{"setup.txt", testing::Bytes(std::string("#T=Quillfen\r\n") + c.script)}});
    ASSERT_TRUE(ParseInstallScript(session_.archive, "setup.txt", &session_.script));
    session_.installation.installed = 1;
    session_.installation.installedVersion = c.recorded;
    EXPECT_EQ(c.layout, Initialised().VisibleControls());
  }
}

TEST_F(MainWindowTest, ACurrentInstallationOffersRunAndUninstall) {
  for (uint32_t version : {5u, 6u, 0xFFFFFFFFu}) {
    session_.installation.installed = 1;
    session_.installation.installedVersion = version;
    FakeView view = Initialised();
    EXPECT_EQ(std::set<int>({IDC_RUN, IDC_UNINSTALL, IDC_CANCEL}), view.VisibleControls()) << version;
    EXPECT_EQ(0, session_.choices.versionUpMode);
    EXPECT_TRUE(view.ended.empty());
  }
}

TEST_F(MainWindowTest, NothingInstalledWarnsAndEndsWithoutALicence) {
  session_.installation.installedVersion = 5;  // a record whose program is gone counts as no installation
  FakeView view = Initialised();
  ASSERT_EQ(1u, view.messages.size());
  EXPECT_EQ(kNotInstalledText, view.messages[0].text);
  EXPECT_EQ("VERSION UP", view.messages[0].caption);
  EXPECT_EQ(uint32_t(kMessageIconWarning), view.messages[0].style);
  EXPECT_EQ(std::vector<int>({77}), view.ended);
}

TEST_F(MainWindowTest, NothingInstalledOffersSetupWhenThePackageCarriesALicence) {
  OpenPackageWith({{kLicenceEntry, testing::Bytes("licence")}});
  FakeView view = Initialised();
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(view.ended.empty());
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), view.VisibleControls());
}

TEST_F(MainWindowTest, TheVersionUpModeStaysForLaterInitialisations) {
  session_.installation.installed = 1;
  session_.installation.installedVersion = 4;
  Initialised();
  session_.installation.installed = 0;  // as if the record were gone; the mode stays
  FakeView again = Initialised();
  EXPECT_EQ(1, session_.choices.versionUpMode);
  EXPECT_TRUE(again.messages.empty());
  EXPECT_EQ(std::set<int>({IDC_SETUP, IDC_CANCEL}), again.VisibleControls());
}

TEST_F(MainWindowTest, RunStartsTheProgramInItsFolderAndEnds) {
  files_.AddFolder("C:\\Games");
  files_.AddFolder("C:\\Games\\Quillfen");
  strcpy(session_.installation.mainPath, "C:\\Games\\Quillfen");
  strcpy(session_.installation.executePath, "C:\\Games\\Quillfen\\Quillfen.exe");
  FakeView view(MainWindowControls());
  MainWindow window(platform_, session_, view);
  EXPECT_TRUE(window.Command(IDC_RUN));
  EXPECT_EQ(std::vector<std::string>({"C:\\Games\\Quillfen\\Quillfen.exe"}), shell_.opened);
  char current[260];
  files_.CurrentFolder(current, sizeof current);
  EXPECT_STREQ("C:\\Games\\Quillfen", current);
  EXPECT_EQ(std::vector<int>({IDC_RUN}), view.ended);
}

TEST_F(MainWindowTest, CancelEndsAndUnknownCommandsAreLeftAlone) {
  FakeView view(MainWindowControls());
  MainWindow window(platform_, session_, view);
  EXPECT_FALSE(window.Command(1234));
  EXPECT_TRUE(view.ended.empty());
  EXPECT_TRUE(window.Command(IDC_CANCEL));
  EXPECT_EQ(std::vector<int>({IDC_CANCEL}), view.ended);
}

// The strip's frames are stacked top to bottom; the DIB functions count source rows from the
// bottom of a bottom-up strip, from the top of a top-down one.
TEST_F(MainWindowTest, TheBusyAnimationCyclesTheStripsFramesInThePictureCorner) {
  const std::vector<uint8_t> picture = testing::MakeBitmap(320, 192, 8);
  std::vector<uint8_t> strip = testing::MakeBitmap(64, 1024, 24);
  session_.pictures.pictureInfo = picture.data() + testing::kInfoAt;
  session_.pictures.partsInfo = strip.data() + testing::kInfoAt;
  session_.pictures.partsBits = strip.data() + 54;
  FakeView view(MainWindowControls());
  MainWindow window(platform_, session_, view);

  EXPECT_EQ(nullptr, window.BusyFrame().info);
  window.AdvanceBusyFrame();
  EXPECT_EQ(nullptr, window.BusyFrame().info);  // the timer may fire once more after a stop

  window.StartBusyAnimation();
  FrameToPaint first = window.BusyFrame();
  EXPECT_EQ(session_.pictures.partsInfo, first.info);
  EXPECT_EQ(session_.pictures.partsBits, first.bits);
  EXPECT_EQ(64, first.size);
  EXPECT_EQ(1024 - 64, first.sourceY);
  EXPECT_EQ(7 + 320 - 64 - 8, first.x);
  EXPECT_EQ(7 + 192 - 64 - 8, first.y);
  std::vector<int32_t> sources;
  for (int i = 0; i < 16; ++i) {
    window.AdvanceBusyFrame();
    sources.push_back(window.BusyFrame().sourceY);
  }
  EXPECT_EQ(1024 - 2 * 64, sources[0]);
  EXPECT_EQ(0, sources[14]);          // the sixteenth frame, at the bottom
  EXPECT_EQ(1024 - 64, sources[15]);  // and round again
  window.StopBusyAnimation();
  EXPECT_EQ(nullptr, window.BusyFrame().info);

  // A top-down strip of 4 frames repeats them.
  strip = testing::MakeBitmap(32, -128, 24);
  session_.pictures.partsInfo = strip.data() + testing::kInfoAt;
  window.StartBusyAnimation();
  sources.clear();
  for (int i = 0; i < 6; ++i, window.AdvanceBusyFrame()) sources.push_back(window.BusyFrame().sourceY);
  EXPECT_EQ(std::vector<int32_t>({0, 32, 64, 96, 0, 32}), sources);

  // A strip shorter than it is wide holds no frame.
  strip = testing::MakeBitmap(64, 63, 24);
  session_.pictures.partsInfo = strip.data() + testing::kInfoAt;
  EXPECT_EQ(nullptr, window.BusyFrame().info);
}

}  // namespace
}  // namespace setup
