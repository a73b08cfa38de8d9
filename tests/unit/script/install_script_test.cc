#include "script/install_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/test_archive.h"
#include "model/package_script.h"

namespace setup {
namespace {

// The shipped install script as code page 932 bytes with CR LF line ends.
const char kShippedScript[] =
    "\r\n"
    "//-------------------------------------------\r\n"
    "//\x83""C\x83\x93\x83X\x83g\x81[\x83\x8b\x83X\x83N\x83\x8a\x83v\x83g\r\n"
    "//\r\n"
    "//\x83R\x83}\x83\x93\x83h\r\n"
    "//#G ... \x83\x8c\x83W\x83X\x83g\x83\x8a\x82\xcc\x83p\x83X\r\n"
    "//#P ... \x83""f\x83t\x83H\x83\x8b\x83g\x83p\x83X\x8ew\x92\xe8\r\n"
    "//#T ... \x83\x81\x83""C\x83\x93\x83t\x83H\x83\x8b\x83_\x82\xcc\x96\xbc\x91O\r\n"
    "//#E ... \x8e\xc0\x8ds\x83t\x83@\x83""C\x83\x8b\x8ew\x92\xe8\r\n"
    "//#R ... Readme\x83t\x83@\x83""C\x83\x8b\x8ew\x92\xe8\r\n"
    "//#S ... \x83X\x83^\x81[\x83g\x83\x81\x83j\x83\x85\x81[\x82\xcc\x83p\x83X\r\n"
    "//#N ... \x83X\x83^\x81[\x83g\x83\x81\x83j\x83\x85\x81[\x82\xcc\x8e\xc0\x8ds\x83t\x83@\x83""C\x83\x8b\x95\\\x8e\xa6\x96\xbc\r\n"
    "//#M ... \x83X\x83^\x81[\x83g\x83\x81\x83j\x83\x85\x81[\x82\xccReadme\x83t\x83@\x83""C\x83\x8b\x95\\\x8e\xa6\x96\xbc\r\n"
    "//#I ... \x8ew\x92\xe8\x83t\x83@\x83""C\x83\x8b\x82\xf0\x83""C\x83\x93\x83X\x83g\x81[\x83\x8b\r\n"
    "//#F ... \x8ew\x92\xe8\x83T\x83u\x83t\x83H\x83\x8b\x83_\x82\xf0\x8d\xec\x90\xac\r\n"
    "//-------------------------------------------\r\n"
    "\r\n"
    "//\x8a\xc2\x8b\xab\x95\xcf\x90\x94\x90\xdd\x92\xe8\r\n"
    "#G=.Default\\Software\\CORVANE\\QUILLFEN\r\n"
    "#P=C:\\Program Files\\Corvane\\Quillfen\r\n"
    "#T=Quillfen\r\n"
    "#E=Quillfen.exe\r\n"
    "#R=readme.chm\r\n"
    "#S=Corvane\\Quillfen\r\n"
    "#M=ReadMe\x82\xf0\x93\xc7\x82\xde\r\n"
    "#N=Quillfen\r\n"
    "#U=uninstall.exe\r\n"
    "#D=8\r\n"
    "\r\n"
    "//\x83""C\x83\x93\x83X\x83g\x81[\x83\x8b\r\n"
    "#I=Quillfen.exe\r\n"
    "#I=readme.chm\r\n";

class InstallScriptTest : public ::testing::Test {
 protected:
  // Opens a package whose "setup.txt" holds script, and parses it.
  bool Parse(const std::string& script) {
    resources_.Add(135, testing::BuildArchive({{"setup.txt", testing::Bytes(script)}}));
    if (!archive_.Open(files_, resources_, 135)) return false;
    return ParseInstallScript(archive_, "setup.txt", &script_);
  }

  testing::FakeFileSystem files_;
  MemoryResources resources_;
  PackageArchive archive_;
  PackageScript script_ = {};
};

TEST_F(InstallScriptTest, TheShippedScriptFillsNineFieldsAndTwoEntries) {
  ASSERT_EQ(745u, sizeof kShippedScript - 1);
  ASSERT_TRUE(Parse(kShippedScript));
  const PackageScript& s = script_;
  EXPECT_STREQ(".Default\\Software\\CORVANE\\QUILLFEN", s.registryPath);
  EXPECT_STREQ("C:\\Program Files\\Corvane\\Quillfen", s.defaultInstallDir);
  EXPECT_STREQ("Quillfen", s.mainFolderName);
  EXPECT_STREQ("Quillfen.exe", s.executableName);
  EXPECT_STREQ("readme.chm", s.readmeName);
  EXPECT_STREQ("Corvane\\Quillfen", s.startMenuPath);
  EXPECT_STREQ("ReadMe\x82\xf0\x93\xc7\x82\xde", s.readmeLinkName);  // "ReadMeを読む"
  EXPECT_STREQ("Quillfen", s.programLinkName);
  EXPECT_STREQ("uninstall.exe", s.uninstallerName);
  EXPECT_EQ(8, s.requiredMB);
  ASSERT_EQ(2, s.installList.count);
  EXPECT_EQ(kExtractEntry, s.installList.entries[0].type);
  EXPECT_STREQ("Quillfen.exe", s.installList.entries[0].text);
  EXPECT_EQ(kExtractEntry, s.installList.entries[1].type);
  EXPECT_STREQ("readme.chm", s.installList.entries[1].text);
  // Fields the script does not set stay as they were.
  EXPECT_EQ(0u, s.packageVersion);
}

TEST_F(InstallScriptTest, TheThirdByteIsSkippedWhateverItIs) {
  ASSERT_TRUE(Parse("#G=\r\n#T abc\r\n#Eabc\r\n#R\r\n"));
  EXPECT_STREQ("", script_.registryPath);
  EXPECT_STREQ("abc", script_.mainFolderName);
  EXPECT_STREQ("bc", script_.executableName);
  EXPECT_STREQ("", script_.readmeName);
}

TEST_F(InstallScriptTest, OnlyUpperCaseCommandsAtTheStartOfALineCount) {
  strcpy(script_.registryPath, "kept");
  ASSERT_TRUE(Parse("#g=abc\r\n #G=abc\r\n#A=abc\r\n//#G=abc\r\n#\r\n\r\n#I=x\r\n"));
  EXPECT_STREQ("kept", script_.registryPath);
  EXPECT_EQ(1, script_.installList.count);
}

TEST_F(InstallScriptTest, DiskSpaceReadsLikeAtol) {
  const std::pair<const char*, int32_t> cases[] = {
      {"12MB", 12}, {"abc", 0}, {"-5", -5}, {"  +7", 7}, {"", 0}, {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN}};
  for (const auto& [value, expected] : cases) {
    script_.requiredMB = 1234;
    ASSERT_TRUE(Parse(std::string("#D=") + value + "\r\n")) << value;
    EXPECT_EQ(expected, script_.requiredMB) << value;
    archive_.Close();
  }
}

TEST_F(InstallScriptTest, SettingsOverrideAndListCommandsAccumulate) {
  ASSERT_TRUE(Parse("#E=a.exe\r\n#I=x\r\n#Z=1\r\n#I=x\r\n#E=b.exe\r\n#I=x\r\n"
                    "#F=data\r\n#C=src\\a.txt,b.txt\r\n#H=tree,dest\r\n#X=flag.txt,1,2\r\n"));
  EXPECT_STREQ("b.exe", script_.executableName);
  const InstallList& list = script_.installList;
  ASSERT_EQ(8, list.count);
  const uint8_t types[] = {kExtractEntry, kIfOptionIs, kExtractEntry, kExtractEntry,
                           kMakeFolder,   kCopyFile,   kCopyTree,     kWriteNewFile};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(types[i], list.entries[i].type) << i;
  EXPECT_STREQ("1", list.entries[1].text);
  EXPECT_STREQ("src\\a.txt,b.txt", list.entries[5].text);
  EXPECT_STREQ("flag.txt,1,2", list.entries[7].text);
}

TEST_F(InstallScriptTest, LineBreaksDecideWhatIsRead) {
  // LF alone ends a line too; a last line without its break is lost.
  ASSERT_TRUE(Parse("#T=one\n#E=two\r\n#R=lost"));
  EXPECT_STREQ("one", script_.mainFolderName);
  EXPECT_STREQ("two", script_.executableName);
  EXPECT_STREQ("", script_.readmeName);
}

TEST_F(InstallScriptTest, AnOverlongLineEndsTheParse) {
  std::string script = "#T=before\r\n//" + std::string(598, 'x') + "\r\n#E=after\r\n";
  ASSERT_TRUE(Parse(script));
  EXPECT_STREQ("before", script_.mainFolderName);
  EXPECT_STREQ("", script_.executableName);

  archive_.Close();
  script_ = PackageScript();
  ASSERT_TRUE(Parse("#T=" + std::string(255, 'y') + "\r\n"));  // 258 bytes: fits the line and field
  EXPECT_EQ(255u, strlen(script_.mainFolderName));
}

TEST_F(InstallScriptTest, TheListStartsEmptyAtEachParse) {
  for (int i = 0; i < 5; ++i) script_.installList.Append()->type = kMakeFolder;
  ASSERT_TRUE(Parse("//no commands\r\n"));
  EXPECT_EQ(0, script_.installList.count);
  EXPECT_STREQ("", script_.mainFolderName);
}

TEST_F(InstallScriptTest, ValuesThatDoNotFitRefuseTheScript) {
  EXPECT_TRUE(Parse("#P=" + std::string(259, 'p') + "\r\n"));
  archive_.Close();
  EXPECT_FALSE(Parse("#P=" + std::string(260, 'p') + "\r\n"));
  archive_.Close();
  EXPECT_TRUE(Parse("#I=" + std::string(254, 'i') + "\r\n"));
  archive_.Close();
  EXPECT_FALSE(Parse("#I=" + std::string(255, 'i') + "\r\n"));
  archive_.Close();

  // As many list commands as an archive holds entries, kept in order as the list grows.
  std::string list;
  for (int i = 0; i < kMaxInstallEntries; ++i) list += "#F=f" + std::to_string(i) + "\r\n";
  EXPECT_TRUE(Parse(list));
  ASSERT_EQ(65535, script_.installList.count);
  EXPECT_STREQ("f0", script_.installList.entries[0].text);
  EXPECT_STREQ("f65534", script_.installList.entries[65534].text);
  archive_.Close();
  EXPECT_FALSE(Parse(list + "#F=one-too-many\r\n"));
  EXPECT_EQ(65535, script_.installList.count);
}

TEST_F(InstallScriptTest, AMissingScriptFails) {
  resources_.Add(135, testing::BuildArchive({{"other.txt", testing::Bytes("#T=x\r\n")}}));
  ASSERT_TRUE(archive_.Open(files_, resources_, 135));
  EXPECT_FALSE(ParseInstallScript(archive_, "setup.txt", &script_));
  EXPECT_STREQ("", script_.mainFolderName);
}

// The table's limits are the record's places, and its install commands make the entry types
// numbered after them; parsed from an archive of its own, a script fills a script of its own and
// leaves every other, a value one byte too long refusing it there as well.
TEST_F(InstallScriptTest, EachCommandFitsItsPlaceInAStateOfItsOwn) {
  const char kInstallLetters[] = "IFCHXZ";  // in the order of their entry types, from 1
  auto archive = std::make_unique<PackageArchive>();
  for (size_t i = 0; i < kScriptCommandCount; ++i) {
    const ScriptCommand& command = kScriptCommands[i];
    const bool install = command.kind == CommandKind::kInstall;
    EXPECT_EQ(install, strchr(kInstallLetters, command.letter) != nullptr) << command.letter;
    if (command.capacity == 0) continue;
    EXPECT_EQ(install ? sizeof(InstallEntry::text) : sizeof(TextField), size_t(command.capacity));
    for (size_t length : {size_t(command.capacity) - 1, size_t(command.capacity)}) {
      const std::string line = std::string("#") + command.letter + "=" + std::string(length, 'v');
      const std::vector<uint8_t> image =
          testing::BuildArchive({{kScriptEntry, testing::Bytes(line + "\r\n")}});
      ASSERT_TRUE(archive->OpenImage(image.data(), uint32_t(image.size())));
      auto state = std::make_unique<PackageScript>();
      const bool fits = length < command.capacity;
      EXPECT_EQ(fits, ParseInstallScript(*archive, kScriptEntry, state.get())) << line.substr(0, 3);
      if (fits && install) {
        ASSERT_EQ(1, state->installList.count);
        EXPECT_EQ(strchr(kInstallLetters, command.letter) - kInstallLetters + 1,
                  state->installList.entries[0].type);
      }
    }
  }
  EXPECT_EQ(0, script_.installList.count);
  EXPECT_EQ(nullptr, archive_.image());
}

}  // namespace
}  // namespace setup
