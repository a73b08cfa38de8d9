// zarc init: a starter project that passes zarc check as it is, with an animation that moves, and
// a folder that already holds any of its files left exactly as it was, as is one it fails to fill.
#include <gtest/gtest.h>

#include <set>

#include "fakes/faulty_file_system.h"
#include "platform/platform_fixture.h"
#include "zarc/check/package_check.h"
#include "zarc/pack/text_conversion.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

const std::string kLicence = "\x93\xaf\x88\xd3\x8f\x91.txt";  // 同意書.txt in code page 932
const std::vector<std::string> kStarterFiles = {"parts.bmp", "readme.txt", "setup.txt", "setup256.bmp",
                                                HostForm(kLicence)};

class ZarcInit : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  // The project packed as the note says, and checked.
  std::vector<Finding> PackAndCheck(const std::string& dir, const std::string& product = "") {
    std::vector<std::string> args{"create", folder_.PathOf("files.zarc")};
    for (const std::string& name : kStarterFiles) args.push_back(dir + "\\" + name);
    if (!product.empty()) args.push_back(product);
    EXPECT_EQ(0, Zarc(*files_, args).status);
    std::string image;
    EXPECT_TRUE(folder_.ReadFile("files.zarc", &image));
    return CheckPackage(std::vector<unsigned char>(image.begin(), image.end()));
  }

  setup::testing::TempFolder folder_;
  std::unique_ptr<setup::FileSystem> files_ = setup::testing::MakeFileSystem();
};

TEST_F(ZarcInit, StarterProjectPassesTheCheckAsItIs) {
  const RunResult run = Zarc(*files_, {"init", folder_.PathOf("Inkwell")});
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
  EXPECT_NE(std::string::npos, run.out.find("zarc setup InkwellSetup.exe --package files.zarc")) << run.out;
  EXPECT_EQ(kStarterFiles, FolderNames(*files_, folder_.PathOf("Inkwell")));

  std::string findings;
  for (const Finding& f : PackAndCheck(folder_.PathOf("Inkwell"))) findings += f.entry + ": " + f.message + "\n";
  EXPECT_EQ("", findings);

  std::string image;
  ASSERT_TRUE(folder_.ReadFile("files.zarc", &image));
  EXPECT_EQ("Inkwell", ScriptCaption(std::vector<unsigned char>(image.begin(), image.end())));
  for (const std::string& text : {std::string("setup.txt"), HostForm(kLicence)}) {
    std::string bytes;
    ASSERT_TRUE(folder_.ReadFile("Inkwell\\" + text, &bytes));
    int line = 0;
    EXPECT_FALSE(ReadsAsUtf8(std::vector<uint8_t>(bytes.begin(), bytes.end()), &line)) << text;
    for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
      ASSERT_EQ('\r', bytes[at - 1]) << text << " at " << at;
    }
    EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2)) << text;
  }
}

// With the product's folder the starter installs all of it, in folders that exist by then, with
// room enough on the disk; a later release's list replaces the first.
TEST_F(ZarcInit, FromAProductFolderInstallsEveryFileAndPassesTheCheck) {
  for (const char* sub : {"app", "app\\bin", "app\\doc", "app\\empty"}) {
    ASSERT_TRUE(files_->MakeFolder(folder_.PathOf(sub).c_str()));
  }
  const std::string big(3 << 20, 'b');  // over the starter's #D=1
  for (const char* file : {"app\\bin\\notes.txt", "app\\doc\\notes.txt", "app\\Inkwell.exe"}) {
    ASSERT_TRUE(folder_.WriteFile(file, big));
  }
  const RunResult run = Zarc(*files_, {"init", "--from", folder_.PathOf("app"), folder_.PathOf("Inkwell")});
  ASSERT_EQ(0, run.status) << run.err;
  std::string script;
  ASSERT_TRUE(folder_.ReadFile("Inkwell\\setup.txt", &script));
  for (const char* line : {"\r\n#D=10\r\n", "\r\n#F=empty\r\n", "\r\n#I=bin\\notes.txt\r\n",
                           "\r\n#I=Inkwell.exe\r\n", "\r\n#I=readme.txt\r\n"}) {
    EXPECT_NE(std::string::npos, script.find(line)) << line << script;
  }
  std::string findings;
  for (const Finding& f : PackAndCheck(folder_.PathOf("Inkwell"), folder_.PathOf("app"))) {
    findings += f.entry + ": " + f.message + "\n";
  }
  EXPECT_EQ("", findings);

  ASSERT_TRUE(folder_.WriteFile("app\\empty\\new.dat", "new"));
  ASSERT_EQ(0, Zarc(*files_, {"list-folder", "--into", folder_.PathOf("Inkwell\\setup.txt"),
                              folder_.PathOf("app")}).status);
  std::string again;
  ASSERT_TRUE(folder_.ReadFile("Inkwell\\setup.txt", &again));
  const std::string kept = script.substr(0, script.find("//zarc list-folder begin"));
  EXPECT_EQ(kept, again.substr(0, kept.size()));
  EXPECT_NE(std::string::npos, again.find("\r\n#I=empty/new.dat\r\n"));
  EXPECT_EQ(again.find("//zarc list-folder begin"), again.rfind("//zarc list-folder begin"));
}

// Sixteen 64 x 64 frames, bottom-up 24-bit rows after a 54-byte header: each one differs from the
// one before it, or the animation would stand still.
TEST_F(ZarcInit, BusyAnimationMovesFromFrameToFrame) {
  ASSERT_EQ(0, Zarc(*files_, {"init", folder_.PathOf("Inkwell")}).status);
  std::string bmp;
  ASSERT_TRUE(folder_.ReadFile("Inkwell\\parts.bmp", &bmp));
  ASSERT_EQ(54u + 64 * 1024 * 3, bmp.size());
  std::set<std::string> frames;
  for (int frame = 0; frame < 16; ++frame) frames.insert(bmp.substr(54 + frame * 64 * 64 * 3, 64 * 64 * 3));
  EXPECT_EQ(16u, frames.size());
}

TEST_F(ZarcInit, NamesTheProductAndNeverOverwrites) {
  const std::string product = "\x90\xbb\x95\x69";  // 製品
  RunResult run = Zarc(*files_, {"init", "--name", HostForm(product), folder_.PathOf("p")});
  ASSERT_EQ(0, run.status) << run.err;
  std::string script;
  ASSERT_TRUE(folder_.ReadFile("p\\setup.txt", &script));
  EXPECT_NE(std::string::npos, script.find("\r\n#T=" + product + "\r\n"));
  EXPECT_NE(std::string::npos, script.find("\r\n#P=C:\\Program Files\\" + product + "\r\n"));

  ASSERT_TRUE(files_->MakeFolder(folder_.PathOf("mine").c_str()));
  ASSERT_TRUE(folder_.WriteFile("mine\\readme.txt", "my own readme"));
  run = Zarc(*files_, {"init", folder_.PathOf("mine")});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("readme.txt already")) << run.err;
  EXPECT_EQ(std::vector<std::string>{"readme.txt"}, FolderNames(*files_, folder_.PathOf("mine")));
  std::string readme;
  ASSERT_TRUE(folder_.ReadFile("mine\\readme.txt", &readme));
  EXPECT_EQ("my own readme", readme);

  for (const char* bad : {"a:b", "", "trailing.", "nul", "Com1.txt"}) {
    EXPECT_EQ(2, Zarc(*files_, {"init", "--name", bad, folder_.PathOf("q")}).status) << bad;
  }
}

// A run that fails at any step takes back what it wrote: the folder it made goes with its files,
// a folder that was there before stays, empty as it was.
TEST_F(ZarcInit, FailedRunLeavesNoFolderItMade) {
  setup::testing::FaultyFileSystem counting(*files_, setup::testing::FaultyFileSystem::Mode::kFail, 0);
  ASSERT_EQ(0, Zarc(counting, {"init", folder_.PathOf("Inkwell")}).status);
  ASSERT_GT(counting.steps(), 5);
  for (int step = 1; step <= counting.steps(); ++step) {
    for (bool existed : {false, true}) {
      const std::string dir = folder_.PathOf((existed ? "old" : "new") + std::to_string(step));
      if (existed) {
        ASSERT_TRUE(files_->MakeFolder(dir.c_str()));
      }
      setup::testing::FaultyFileSystem faulty(*files_, setup::testing::FaultyFileSystem::Mode::kFail, step);
      const RunResult run = Zarc(faulty, {"init", "--name", "Inkwell", dir});
      const std::string at = counting.calls()[step - 1].operation + " at step " + std::to_string(step);
      // Making a folder that is there already fails anyway: that step changes nothing.
      if (existed && counting.calls()[step - 1].operation == "MakeFolder") continue;
      EXPECT_EQ(1, run.status) << at;
      EXPECT_EQ(std::vector<std::string>{}, FolderNames(*files_, dir)) << at;
      EXPECT_EQ(existed, !files_->MakeFolder(dir.c_str())) << at << (existed ? ": folder gone" : ": folder left");
    }
  }
}

}  // namespace
}  // namespace zarc::testing
