// zarc setup on stubs laid out as the linker lays out the real one (.text, .rsrc, .reloc last):
// every resource kept, the package put in, the relocations still found, and each stub it cannot
// rebuild refused with nothing left behind. tests/zarc_cli/zarc_setup_test.sh reads the real
// stub's output with an independent reader.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "fakes/test_bitmap.h"
#include "platform/platform_fixture.h"
#include "zarc/pe/pe_image.h"
#include "zarc/pe/test_program.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::LoadLE32;
using setup::testing::MakeFileSystem;
using setup::testing::TempFolder;

// One 1 x 1 bitmap image.
std::string MakeIcon() {
  std::string icon("\0\0\1\0\1\0", 6);
  icon += std::string("\1\1\0\0\1\0\x20\0", 8) + std::string("\x30\0\0\0\x16\0\0\0", 8);
  std::string image(0x30, '\0');
  Put32(&image, 0, 40);
  return icon + image;
}

class ZarcSetup : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }

  std::string Put(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(folder_.WriteFile(name, bytes));
    return folder_.PathOf(name);
  }

  // The two pictures a package needs to pass its checks.
  std::vector<std::string> Pictures() {
    const std::vector<uint8_t> main = setup::testing::MakeBitmap(320, 192, 8);
    const std::vector<uint8_t> parts = setup::testing::MakeBitmap(64, 1024, 24);
    return {Put("setup256.bmp", std::string(main.begin(), main.end())),
            Put("parts.bmp", std::string(parts.begin(), parts.end()))};
  }

  RunResult MakeSetup(const std::string& stub, std::vector<std::string> more) {
    std::vector<std::string> args{"setup", folder_.PathOf("out.exe"), "--stub", stub};
    args.insert(args.end(), more.begin(), more.end());
    return Zarc(*files_, args);
  }

  std::string Output() {
    std::string bytes;
    EXPECT_TRUE(folder_.ReadFile("out.exe", &bytes));
    return bytes;
  }

  TempFolder folder_;
  std::unique_ptr<setup::FileSystem> files_ = MakeFileSystem();
};

const Resource* Find(const std::vector<Resource>& resources, const ResourceKey& type,
                     const ResourceKey& name) {
  for (const Resource& r : resources) {
    if (r.type == type && r.name == name) return &r;
  }
  return nullptr;
}

TEST_F(ZarcSetup, KeepsTheStubAndItsResourcesAndPutsThePackageIn) {
  const std::string stub = Put("stub.exe", MakeStub({}));
  const std::string script = Put("setup.txt", "#T=Quillfen\r\n");
  const std::string data = Put("data.bin", std::string(3000, 'x'));
  const std::vector<std::string> pictures = Pictures();
  const RunResult run = MakeSetup(stub, {"--icon", Put("a.ico", MakeIcon()), "--product-version",
                                     "1.2.3", "--company", "Corvane", script, data, pictures[0],
                                     pictures[1]});
  ASSERT_EQ(0, run.status) << run.err;
  ASSERT_EQ(0, Zarc(*files_, {"create", folder_.PathOf("p.zarc"), script, data, pictures[0],
                              pictures[1]}).status);
  std::string package;
  ASSERT_TRUE(folder_.ReadFile("p.zarc", &package));

  const std::string out = Output();
  ProgramImage image;
  std::string why;
  ASSERT_TRUE(image.Read(std::vector<uint8_t>(out.begin(), out.end()), &why)) << why;
  for (const Resource& r : StubResources(true)) {
    const Resource* kept = Find(image.resources(), r.type, r.name);
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(r.data, kept->data);
    EXPECT_EQ(r.language, kept->language);
  }
  const Resource* zarc = Find(image.resources(), ResourceText("ZARC"), ResourceId(135));
  ASSERT_NE(nullptr, zarc);
  EXPECT_TRUE(std::string(zarc->data.begin(), zarc->data.end()) == package);
  ASSERT_NE(nullptr, Find(image.resources(), ResourceId(kIconGroupType), ResourceId(1)));
  const Resource* version = Find(image.resources(), ResourceId(kVersionType), ResourceId(1));
  ASSERT_NE(nullptr, version);
  const std::string versionBytes(version->data.begin(), version->data.end());
  EXPECT_NE(std::string::npos, versionBytes.find(std::string("Q\0u\0i\0l\0l\0f\0e\0n\0", 16)));
  EXPECT_NE(std::string::npos, versionBytes.find(std::string("\2\0\1\0\0\0\3\0", 8)));  // 1.2, 3.0

  // The code is where it was; the relocations moved, and their directory follows them.
  EXPECT_EQ(out.substr(0x400, 0x200), MakeStub({}).substr(0x400, 0x200));
  const uint32_t relocations = Get32(out, kOptional + 112 + 8 * 5);
  EXPECT_EQ(0x2000u, relocations);
  EXPECT_EQ(std::string(".reloc"), out.substr(kSections + 40, 6));
  EXPECT_EQ("relocs", out.substr(Get32(out, kSections + 40 + 20), 6));
  EXPECT_EQ(std::string(".rsrc"), out.substr(kSections + 80, 5));
  EXPECT_EQ(out.size(), Get32(out, kSections + 80 + 20) + Get32(out, kSections + 80 + 16));

  // Its own output as the stub: the package is replaced, not added, and the bytes are the same.
  const std::string first = Put("first.exe", out);
  const RunResult again = MakeSetup(first, {"--icon", folder_.PathOf("a.ico"), "--product-version",
                                        "1.2.3", "--company", "Corvane", "--package",
                                        folder_.PathOf("p.zarc")});
  ASSERT_EQ(0, again.status) << again.err;
  EXPECT_NE(std::string::npos, again.err.find("package it carried is replaced")) << again.err;
  EXPECT_TRUE(out == Output());
}

// Its programs read nothing from their folder unless the publisher asks, and then nothing else:
// without the option, an entry left external or a #C or #H from there is refused.
TEST_F(ZarcSetup, StoresWhetherTheFolderMayReplaceThePackage) {
  const std::string stub = Put("stub.exe", MakeStub({}));
  const std::vector<std::string> pictures = Pictures();
  const std::string plain = "#T=Q\r\n#F=x\r\n";
  const std::string copies = plain + "#C=C:\\media\\a.txt,a.txt\r\n#H=\\\\srv\\share\\t,t\r\n#C=E:/b.txt,b.txt\r\n";
  const struct {
    std::string script;
    std::vector<std::string> more;
    int status;
    std::string record;  // or, for a refusal, what it says
  } cases[] = {
      {plain, {}, 0, std::string("ZSRC\0\0\0\0", 8)},
      {plain, {"--allow-folder-overrides"}, 0, std::string("ZSRC\1\0\0\0", 8)},
      {plain, {"--external", "late.bin"}, 1, "\"late.bin\": external"},
      {plain, {"--external", "late.bin", "--allow-folder-overrides"}, 0, std::string("ZSRC\1\0\0\0", 8)},
      {copies, {}, 0, std::string("ZSRC\0\0\0\0", 8)},
      {copies + "#C=notes.txt\r\n", {}, 1, "setup.txt:6: error: #C copies \"notes.txt\""},
      {copies + "#H=x\\media,x\r\n", {}, 1, "setup.txt:6: error: #H copies \"x\\media\""},
      {copies + "#H=x\\media,x\r\n", {"--allow-folder-overrides"}, 0, std::string("ZSRC\1\0\0\0", 8)},
  };
  for (const auto& c : cases) {
    files_->RemoveFile(folder_.PathOf("out.exe").c_str());
    std::vector<std::string> more = c.more;
    more.insert(more.end(), {Put("setup.txt", c.script), pictures[0], pictures[1]});
    const RunResult run = MakeSetup(stub, more);
    ASSERT_EQ(c.status, run.status) << c.script << run.err;
    if (c.status != 0) {
      EXPECT_NE(std::string::npos, run.err.find(c.record)) << run.err;
      EXPECT_NE(std::string::npos, run.err.find("--allow-folder-overrides")) << run.err;
      uint64_t size = 0;
      EXPECT_FALSE(files_->FileSize(folder_.PathOf("out.exe").c_str(), &size)) << c.script;
      continue;
    }
    EXPECT_EQ(std::string::npos, run.err.find("copies")) << run.err;
    const std::string out = Output();
    ProgramImage image;
    std::string why;
    ASSERT_TRUE(image.Read(std::vector<uint8_t>(out.begin(), out.end()), &why)) << why;
    const Resource* record = Find(image.resources(), ResourceText("ZARC"), ResourceId(136));
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(c.record, std::string(record->data.begin(), record->data.end()));
  }
}

// Without --product-version the version information carries the script's #V; the option wins.
TEST_F(ZarcSetup, TakesTheProductVersionFromTheScript) {
  const std::string stub = Put("stub.exe", MakeStub({}));
  const std::string script = Put("setup.txt", "#T=Quillfen\r\n#V=7\r\n");
  const std::vector<std::string> pictures = Pictures();
  auto versionResource = [&](std::vector<std::string> more) {
    more.insert(more.end(), {script, pictures[0], pictures[1]});
    const RunResult run = MakeSetup(stub, more);
    EXPECT_EQ(0, run.status) << run.err;
    const std::string out = Output();
    ProgramImage image;
    std::string why;
    EXPECT_TRUE(image.Read(std::vector<uint8_t>(out.begin(), out.end()), &why)) << why;
    const Resource* version = Find(image.resources(), ResourceId(kVersionType), ResourceId(1));
    return version == nullptr ? std::string() : std::string(version->data.begin(), version->data.end());
  };
  const std::string fromScript = versionResource({});
  EXPECT_NE(std::string::npos, fromScript.find(std::string("\0\0\7\0\0\0\0\0", 8)));  // 7.0, 0.0
  const std::string productVersion7("t\0V\0e\0r\0s\0i\0o\0n\0\0\0" "7\0\0\0", 22);
  EXPECT_NE(std::string::npos, fromScript.find(productVersion7));
  const std::string given = versionResource({"--product-version", "8.1"});
  EXPECT_NE(std::string::npos, given.find(std::string("\1\0\x08\0\0\0\0\0", 8)));
  EXPECT_EQ(std::string::npos, given.find(productVersion7));
}

TEST_F(ZarcSetup, DropsASignatureAndSaysSo) {
  const std::string stub = Put("stub.exe", MakeStub(Changed([](StubShape& s) { s.signature = std::string(64, 'S'); })));
  const std::vector<std::string> pictures = Pictures();
  const RunResult run = MakeSetup(stub, {Put("setup.txt", "#T=Q\r\n"), pictures[0], pictures[1]});
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("signature is dropped")) << run.err;
  const std::string out = Output();
  EXPECT_EQ(0u, Get32(out, kOptional + 112 + 8 * 4) | Get32(out, kOptional + 112 + 8 * 4 + 4));
  EXPECT_EQ(std::string::npos, out.find(std::string(64, 'S')));
}

TEST_F(ZarcSetup, RefusesWhatItCannotRebuildAndLeavesNothing) {
  std::string notProgram = MakeStub({});
  notProgram[0] = 'X';
  std::string outsideFile = MakeStub({});
  Put32(&outsideFile, kSections + 40 * 2 + 16, 0x10000);  // the relocations' raw size
  const std::string ico = Put("a.ico", MakeIcon());
  const std::string script = Put("setup.txt", "#T=Q\r\n");
  const struct {
    std::string stub;
    std::vector<std::string> more;
    std::string subject, reason;
  } cases[] = {
      {notProgram, {}, "stub.exe", "not a Windows program"},
      {MakeStub(Changed([](StubShape& s) { s.flags = 0x2022; })), {}, "stub.exe", "DLL"},
      {MakeStub(Changed([](StubShape& s) { s.subsystem = 3; })), {}, "stub.exe", "console program"},
      {MakeStub(Changed([](StubShape& s) { s.machine = 0x14C; })), {}, "stub.exe", "machine"},
      {MakeStub(Changed([](StubShape& s) { s.mainWindow = false; })), {}, "stub.exe", "dialog 129"},
      {MakeStub(Changed([](StubShape& s) { s.relocationsLast = false; })), {}, "stub.exe", "cannot move"},
      {MakeStub(Changed([](StubShape& s) { s.resourceTreeSize = 8; })), {}, "stub.exe", "outside the resource section"},
      {MakeStub(Changed([](StubShape& s) { s.appended = "appended"; })), {}, "stub.exe", "bytes follow its last section"},
      {outsideFile, {}, "stub.exe", "outside the file"},
      {MakeStub({}), {"--icon", script}, "setup.txt", "not an icon"},
      {MakeStub({}), {"--icon", Put("b.ico", MakeIcon().substr(0, 40))}, "b.ico", "outside"},
      {MakeStub({}), {"--package", script}, "setup.txt", "ZARC"},
  };
  for (const auto& c : cases) {
    const std::string stub = Put("stub.exe", c.stub);
    const std::vector<std::string> before = FolderNames(*files_, folder_.path());
    std::vector<std::string> more = c.more;
    if (more.empty() || more[0] != "--package") more.push_back(script);
    const RunResult run = MakeSetup(stub, more);
    EXPECT_EQ(1, run.status) << c.reason;
    EXPECT_NE(std::string::npos, run.err.find(c.subject)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(c.reason)) << run.err;
    EXPECT_EQ(before, FolderNames(*files_, folder_.path())) << c.reason;
  }
}

}  // namespace
}  // namespace zarc::testing
