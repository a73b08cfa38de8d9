// zarc check: each fault of a package found, with the entry and line, and graded the way the
// setup program would suffer it; a sound package passes without a word.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>

#include "base/byte_order.h"
#include "fakes/test_archive.h"
#include "fakes/test_bitmap.h"
#include "platform/platform_fixture.h"
#include "zarc/check/package_check.h"
#include "zarc/system/progress.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::testing::BuildArchive;
using setup::testing::Bytes;
using setup::testing::MakeBitmap;
using setup::testing::TestEntry;
using Package = std::vector<TestEntry>;

const std::string kLicence = "\x93\xaf\x88\xd3\x8f\x91.txt";  // 同意書.txt in code page 932

std::string Lines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// Line 1 is a comment, the commands start on line 2.
std::vector<std::string> GoodScript() {
  return {"//Quillfen", "#T=Quillfen",    "#E=Quillfen.exe",    "#R=readme.txt",
          "#U=uninstall.exe", "#D=1", "#I=Quillfen.exe", "#I=readme.txt", "#C=C:\\media\\uninstall.src,UNINSTALL.EXE"};
}

Package GoodPackage() {
  return {{"setup.txt", Bytes(Lines(GoodScript()))},
          {"Quillfen.exe", std::vector<uint8_t>(700000, 'q')},
          {"readme.txt", Bytes("\x93\xc7\x82\xdd\x82\xdc\x82\xb7\r\n")},
          {"setup256.bmp", MakeBitmap(320, 192, 8)},
          {"parts.bmp", MakeBitmap(64, 1024, 24)},
          {kLicence, Bytes("\x93\xaf\x88\xd3\x82\xb5\x82\xdc\x82\xb7\r\n")}};
}

TestEntry& Entry(Package& package, const std::string& name) {
  for (TestEntry& entry : package) {
    if (entry.name == name) return entry;
  }
  package.push_back(TestEntry{name, {}});
  return package.back();
}

void Remove(Package& package, const std::string& name) {
  package.erase(std::remove_if(package.begin(), package.end(),
                               [&](const TestEntry& e) { return e.name == name; }),
                package.end());
}

// The good script with line `line` (1-based) replaced by text, or text added at the end.
void ScriptLine(Package& package, size_t line, const std::string& text) {
  std::vector<std::string> script = GoodScript();
  if (line > script.size()) script.resize(line);
  script[line - 1] = text;
  Entry(package, "setup.txt").data = Bytes(Lines(script));
}

std::string Describe(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) {
    text += (f.error ? "E " : "W ") + f.entry + ":" + std::to_string(f.line) + " " + f.message + "\n";
  }
  return text;
}

TEST(ZarcCheck, SoundPackagePassesSilently) {
  const std::vector<Finding> findings = CheckPackage(BuildArchive(GoodPackage()));
  EXPECT_TRUE(findings.empty()) << Describe(findings);
  // Folders that Windows finds under other spellings, or that a copied tree may bring.
  Package folders = GoodPackage();
  std::vector<std::string> script = GoodScript();
  script.insert(script.end(), {"#F=Data\\Sub", "#X=dATA\\.\\sub\\\\x.txt,1", "#X=data/y.txt",
                               "#H=\\\\srv\\media,tree", "#C=d:/s.txt,TREE\\deep\\s.txt", "#X=.\\z.txt",
                               "#F=Docs.", "#I=DOCS/readme.txt"});
  script[3] = "#R=docs\\README.TXT";  // the file of that #I, as the program spells it
  Entry(folders, "setup.txt").data = Bytes(Lines(script));
  const std::vector<Finding> more = CheckPackage(BuildArchive(folders));
  EXPECT_TRUE(more.empty()) << Describe(more);
  Package versioned = GoodPackage();
  ScriptLine(versioned, 10, "#V=4294967295");
  EXPECT_TRUE(CheckPackage(BuildArchive(versioned)).empty());
}

struct Fault {
  const char* name;
  std::function<void(Package&)> bend;
  bool error;
  std::string entry;
  int line;
  std::string says;
};
void PrintTo(const Fault& fault, std::ostream* os) { *os << fault.name; }

class ZarcCheckFault : public ::testing::TestWithParam<Fault> {};

// The finding asked for is there; a fault that is only a warning brings no error with it, since
// zarc setup must still write the program.
TEST_P(ZarcCheckFault, IsFoundWhereItIs) {
  const Fault& fault = GetParam();
  Package package = GoodPackage();
  fault.bend(package);
  const std::vector<Finding> findings = CheckPackage(BuildArchive(package));
  bool found = false;
  bool anyError = false;
  for (const Finding& f : findings) {
    found = found || (f.error == fault.error && f.entry == fault.entry && f.line == fault.line &&
                      f.message.find(fault.says) != std::string::npos);
    anyError = anyError || f.error;
  }
  EXPECT_TRUE(found) << Describe(findings);
  EXPECT_EQ(fault.error, anyError) << Describe(findings);
}

const std::string kLong(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Package, ZarcCheckFault,
    ::testing::Values(
        Fault{"NoScript", [](Package& p) { Remove(p, "setup.txt"); }, true, "setup.txt", 0,
              "not in the package"},
        Fault{"SettingTooLong", [](Package& p) { ScriptLine(p, 3, "#E=" + kLong); }, true,
              "setup.txt", 3, "#E is 300 bytes"},
        Fault{"ListValueTooLong", [](Package& p) { ScriptLine(p, 12, "#X=" + kLong.substr(0, 255)); },
              true, "setup.txt", 12, "#X is 255 bytes"},
        Fault{"TooManyListCommands",
              [](Package& p) {
                std::vector<std::string> script = GoodScript();  // 3 list commands already
                for (int i = 0; i < 65533; ++i) script.push_back("#F=f" + std::to_string(i));
                Entry(p, "setup.txt").data = Bytes(Lines(script));
              },
              true, "setup.txt", 65542, "more than 65535"},
        Fault{"InstallOfMissingEntry", [](Package& p) { ScriptLine(p, 8, "#I=readme.chm"); }, true,
              "setup.txt", 8, "\"readme.chm\", which is not in the package"},
        Fault{"LongLineHidesLaterCommands", [](Package& p) { ScriptLine(p, 4, "//" + std::string(600, '-')); },
              true, "setup.txt", 4, "602 bytes"},
        Fault{"LastCommandWithoutLineBreak",
              [](Package& p) { Entry(p, "setup.txt").data = Bytes(Lines(GoodScript()) + "#I=x"); },
              true, "setup.txt", 10, "no line break"},
        Fault{"LoneCrEatsTheNextHash",
              [](Package& p) {
                Entry(p, "setup.txt").data = Bytes("#T=Quillfen\r#I=Quillfen.exe\r\n");
              },
              true, "setup.txt", 2, "CR alone"},
        Fault{"LoneCrAfterACommentEatsTheNextHash",
              [](Package& p) {
                Entry(p, "setup.txt").data = Bytes(Lines(GoodScript()) + "; note\r#I=readme.txt\r\n");
              },
              true, "setup.txt", 11, "CR alone"},
        Fault{"NegativeSpace", [](Package& p) { ScriptLine(p, 6, "#D=-1"); }, true, "setup.txt", 6,
              "negative"},
        Fault{"NegativeSpaceWithNothingToInstall",
              [](Package& p) { Entry(p, "setup.txt").data = Bytes("#T=Q\r\n#D=-5\r\n"); }, true,
              "setup.txt", 2, "negative"},
        Fault{"FileIntoAFolderNothingMakes",
              [](Package& p) { ScriptLine(p, 10, "#X=data\\flag.txt,1"); }, true, "setup.txt", 10,
              "#X writes \"data\\flag.txt\" into a folder that no #F"},
        // The program reads '/' in a destination as Windows does, as a folder's end.
        Fault{"EntryIntoAFolderNothingMakes", [](Package& p) { ScriptLine(p, 8, "#I=docs/readme.txt"); },
              true, "setup.txt", 8, "#I writes \"docs/readme.txt\" into a folder that no #F"},
        Fault{"CopyIntoAFolderMadeOnlyLater",
              [](Package& p) {
                Entry(p, "setup.txt").data = Bytes(Lines(GoodScript()) + "#C=a.txt,docs\\a.txt\r\n#F=docs\r\n");
              },
              true, "setup.txt", 10, "#C writes"},
        Fault{"MainPictureUnreadable",
              [](Package& p) { setup::testing::Poke32(Entry(p, "setup256.bmp").data, 10, 1u << 30); },
              true, "setup256.bmp", 0, "not a picture"},
        Fault{"PartsPictureMissing", [](Package& p) { Remove(p, "parts.bmp"); }, true, "parts.bmp", 0,
              "not in the package"},
        Fault{"NoLicence", [](Package& p) { Remove(p, kLicence); }, false, kLicence, 0, "only upgrades"},
        Fault{"ProgramNotInstalled", [](Package& p) { ScriptLine(p, 3, "#E=Quillfen2.exe"); }, false,
              "setup.txt", 3, "\"Quillfen2.exe\", which no #I"},
        Fault{"SpaceTooSmall", [](Package& p) { ScriptLine(p, 6, "#D=0"); }, false, "setup.txt", 6,
              "#D=1"},
        Fault{"LfAlone",
              [](Package& p) { Entry(p, "setup.txt").data = Bytes(Lines(GoodScript(), "\n")); },
              false, "setup.txt", 1, "LF alone, not CR LF (8 more lines too)"},
        // UTF-8 Japanese that is also valid code page 932: only its look gives it away.
        Fault{"LicenceInUtf8",
              [](Package& p) {
                Entry(p, kLicence).data = Bytes("OK\r\n\xe5\x90\x8c\xe6\x84\x8f\r\n");  // 同意
              },
              true, kLicence, 2, "reads as UTF-8"},
        Fault{"ScriptInUtf8", [](Package& p) { ScriptLine(p, 4, "#S=\xe8\xa3\xbd\xe5\x93\x81"); },  // 製品
              true, "setup.txt", 4, "--from-utf8"},
        Fault{"LicenceNotCp932",
              [](Package& p) { Entry(p, kLicence).data = Bytes("OK\r\n\x82\r\n"); },  // a cut character
              false, kLicence, 2, "not valid code page 932 text (byte 0x82"},
        Fault{"VersionWithoutDigits", [](Package& p) { ScriptLine(p, 10, "#V=seven"); }, true, "setup.txt",
              10, "ignores the line"},
        Fault{"VersionZero", [](Package& p) { ScriptLine(p, 10, "#V=0"); }, true, "setup.txt", 10,
              "from 1 to 4294967295"},
        Fault{"VersionOfTwoNumbers", [](Package& p) { ScriptLine(p, 10, "#V=7.1"); }, true, "setup.txt", 10,
              "reads only 7"},
        // A program written by zarc setup reads no file of the folder it starts from.
        Fault{"CopyFromTheStartFolder", [](Package& p) { ScriptLine(p, 10, "#C=notes.txt"); }, false,
              "setup.txt", 10, "#C copies \"notes.txt\" from the folder the setup program starts from"},
        Fault{"TreeFromTheStartFolder", [](Package& p) { ScriptLine(p, 10, "#H=media\\docs,docs"); }, false,
              "setup.txt", 10, "#H copies \"media\\docs\" from the folder"},
        Fault{"CopyFromADrivesCurrentFolder", [](Package& p) { ScriptLine(p, 10, "#C=C:notes.txt"); },
              false, "setup.txt", 10, "--allow-folder-overrides"},
        Fault{"LowerCaseCommand", [](Package& p) { ScriptLine(p, 8, "#i=readme.txt"); }, false,
              "setup.txt", 8, "no command"}),
    [](const ::testing::TestParamInfo<Fault>& param) { return std::string(param.param.name); });

// The script is not the only way to break the archive: a damaged record is an error of its own.
// Records are inflated on several threads: each damage must still be reported against its own.
TEST(ZarcCheck, DamagedRecordIsAnErrorOfItsEntry) {
  std::vector<uint8_t> image = BuildArchive(GoodPackage());
  const uint32_t last = (setup::LoadLE32(&image[4]) & 0xFFFF) - 1;
  image[setup::testing::RecordOffset(1) + 8] ^= 1;  // Quillfen.exe's full size
  image[setup::testing::RecordOffset(last) + 8] ^= 1;
  const std::string lastName(reinterpret_cast<const char*>(&image[setup::testing::RecordOffset(last) + 12]));
  std::set<std::string> errors;
  for (const Finding& finding : CheckPackage(image)) {
    if (finding.error && finding.line == 0) errors.insert(finding.entry);
  }
  EXPECT_EQ(errors, (std::set<std::string>{"Quillfen.exe", lastName}));
}

// zarc check prints each finding as ENTRY:LINE and grades the exit status by errors alone.
class ZarcCheckCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }
  RunResult Check(const Package& package) {
    const std::vector<uint8_t> image = BuildArchive(package);
    EXPECT_TRUE(folder_.WriteFile("p.zarc", std::string(image.begin(), image.end())));
    return Zarc(*files_, {"check", folder_.PathOf("p.zarc")});
  }
  setup::testing::TempFolder folder_;
  std::unique_ptr<setup::FileSystem> files_ = setup::testing::MakeFileSystem();
};

TEST_F(ZarcCheckCommand, ExitStatusAndFormat) {
  Package warned = GoodPackage();
  ScriptLine(warned, 6, "#D=0");
  RunResult run = Check(warned);
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(0u, run.err.find("setup.txt:6: warning: #D=0 MB")) << run.err;
  // The summary comes after the findings, in the same stream.
  EXPECT_NE(std::string::npos, run.err.find("warning: #D=0 MB")) << run.err;
  EXPECT_EQ(run.err.size() - run.err.find("p.zarc: 0 errors, 1 warning\n"), 28u) << run.err;
  EXPECT_EQ("", run.out);

  Package broken = GoodPackage();
  ScriptLine(broken, 8, "#I=readme.chm");
  Remove(broken, kLicence);
  run = Check(broken);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("setup.txt:8: error: #I names")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("同意書.txt: warning: ")) << run.err;
}

// Progress goes to a watched standard error only, and ends at the whole size, cleared.
class WatchedConsole : public RecordingConsole {
 public:
  bool ShowsProgress() override { return true; }
};

TEST(ZarcProgress, ShownOnlyWhenWatchedAndReachesTheTotal) {
  RecordingConsole unwatched;
  WatchedConsole watched;
  for (Console* console : {static_cast<Console*>(&unwatched), static_cast<Console*>(&watched)}) {
    Progress progress(*console, "packing", 3 << 20);
    for (int i = 0; i < 6; ++i) progress.Advance(1 << 20);  // more than the total arrives
  }
  EXPECT_EQ("", unwatched.err);
  const std::string& err = watched.err;
  EXPECT_NE(std::string::npos, err.find("\rzarc: packing 1.0 of 3.0 MB (33%)")) << err;
  const size_t last = err.rfind("\rzarc: packing");
  EXPECT_EQ(0u, err.compare(last, 33, "\rzarc: packing 3.0 of 3.0 MB (100")) << err;
  EXPECT_EQ(std::string::npos, err.find("4.0 of")) << err;
  EXPECT_EQ('\r', err.back()) << "the line is cleared at the end";
}

// A check reads its own copy of the package: two checks run side by side each find what they find
// alone.
TEST(ZarcCheck, RunsSideBySide) {
  const std::vector<uint8_t> good = BuildArchive(GoodPackage());
  Package bent = GoodPackage();
  ScriptLine(bent, 10, "#V=x");
  const std::vector<uint8_t> bad = BuildArchive(bent);
  const std::string alone[2] = {Describe(CheckPackage(good)), Describe(CheckPackage(bad))};
  ASSERT_NE(alone[0], alone[1]);
  std::string together[2];
  std::thread other([&] { together[1] = Describe(CheckPackage(bad)); });
  together[0] = Describe(CheckPackage(good));
  other.join();
  EXPECT_EQ(alone[0], together[0]);
  EXPECT_EQ(alone[1], together[1]);
}

}  // namespace
}  // namespace zarc::testing
