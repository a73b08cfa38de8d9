// zarc setup on stubs laid out as the linker lays out the real one (.text, .rsrc, .reloc last):
// every resource kept, the package put in, the relocations still found, and each stub it cannot
// rebuild refused with nothing left behind. tests/zarc_cli/zarc_setup_test.sh reads the real
// stub's output with an independent reader.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "fakes/test_bitmap.h"
#include "platform/platform_fixture.h"
#include "zarc/pe/pe_image.h"
#include "zarc/zarc_test_support.h"

namespace zarc::testing {
namespace {

using setup::LoadLE32;
using setup::testing::MakeFileSystem;
using setup::testing::TempFolder;

struct StubShape {
  uint16_t machine = 0x8664;
  uint16_t magic = 0x20B;
  uint16_t flags = 0x0022;  // executable, large address aware
  uint16_t subsystem = 2;
  bool mainWindow = true;
  bool relocationsLast = true;  // else the section after the resources is plain data
  uint32_t resourceTreeSize = 0;  // 0: the tree's own size
  std::string appended;
  std::string signature;
};

void Put32(std::string* bytes, size_t at, uint32_t v) {
  setup::StoreLE32(reinterpret_cast<uint8_t*>(&(*bytes)[at]), v);
}
void Put16(std::string* bytes, size_t at, uint16_t v) {
  (*bytes)[at] = char(v);
  (*bytes)[at + 1] = char(v >> 8);
}
uint32_t Get32(const std::string& bytes, size_t at) {
  return LoadLE32(reinterpret_cast<const uint8_t*>(&bytes[at]));
}

constexpr size_t kPe = 0x40, kOptional = kPe + 24, kSections = kOptional + 240;

std::vector<Resource> StubResources(bool mainWindow) {
  std::vector<Resource> resources{
      {ResourceId(kDialogType), ResourceId(mainWindow ? 129 : 130), 0x409, 0, {'d', 'l', 'g'}},
      {ResourceId(24), ResourceId(1), 0x409, 0, {'<', 'm', '/', '>'}},
      {ResourceText("DATA"), ResourceText("X"), 0x411, 0, {'n', 'a', 'm', 'e', 'd'}}};
  SortResources(&resources);
  return resources;
}

// A stub of the usual shape with one thing changed.
StubShape Changed(void (*change)(StubShape&)) {
  StubShape shape;
  change(shape);
  return shape;
}

std::string MakeStub(const StubShape& shape) {
  std::vector<uint8_t> tree;
  EXPECT_TRUE(BuildResourceSection(StubResources(shape.mainWindow), 0x2000, &tree));
  std::string file(0xA00, '\0');
  file.replace(0, 2, "MZ");
  Put32(&file, 0x3C, kPe);
  file.replace(kPe, 4, std::string("PE\0\0", 4));
  Put16(&file, kPe + 4, shape.machine);
  Put16(&file, kPe + 6, 3);
  Put16(&file, kPe + 20, 240);
  Put16(&file, kPe + 22, shape.flags);
  Put16(&file, kOptional, shape.magic);
  Put32(&file, kOptional + 32, 0x1000);
  Put32(&file, kOptional + 36, 0x200);
  Put32(&file, kOptional + 56, 0x4000);
  Put32(&file, kOptional + 60, 0x400);
  Put16(&file, kOptional + 68, shape.subsystem);
  Put32(&file, kOptional + 108, 16);
  Put32(&file, kOptional + 112 + 8 * 2, 0x2000);
  Put32(&file, kOptional + 112 + 8 * 2 + 4, shape.resourceTreeSize ? shape.resourceTreeSize : uint32_t(tree.size()));
  if (shape.relocationsLast) {
    Put32(&file, kOptional + 112 + 8 * 5, 0x3000);
    Put32(&file, kOptional + 112 + 8 * 5 + 4, 12);
  }
  const char* names[] = {".text", ".rsrc", shape.relocationsLast ? ".reloc" : ".data"};
  for (uint32_t i = 0; i < 3; ++i) {
    const size_t at = kSections + 40 * i;
    file.replace(at, strlen(names[i]), names[i]);
    Put32(&file, at + 8, i == 1 ? uint32_t(tree.size()) : 0x100);
    Put32(&file, at + 12, 0x1000 * (i + 1));
    Put32(&file, at + 16, 0x200);
    Put32(&file, at + 20, 0x400 + 0x200 * i);
  }
  file.replace(0x400, 6, "code!!");
  file.replace(0x600, tree.size(), std::string(tree.begin(), tree.end()));
  file.replace(0x600 + 0x200, 6, "relocs");
  file += shape.appended;
  if (!shape.signature.empty()) {
    Put32(&file, kOptional + 112 + 8 * 4, uint32_t(file.size()));
    Put32(&file, kOptional + 112 + 8 * 4 + 4, uint32_t(shape.signature.size()));
    file += shape.signature;
  }
  return file;
}

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

// A crafted tree must cost no more to read than its bytes: no directory walked twice, no more
// entries than 65535 resources need, no more data copied than the file holds.
TEST(ZarcResourceTree, RefusesTreesThatWouldBeWalkedOrCopiedOverAndOver) {
  auto read = [](const std::vector<uint8_t>& tree, uint64_t maxData, std::string* why) {
    std::vector<Resource> resources;
    auto at = [&tree](uint32_t rva, uint32_t n) {
      return setup::RangeInside(rva, n, uint32_t(tree.size())) ? tree.data() + rva : nullptr;
    };
    return ReadResources(at, 0, uint32_t(tree.size()), maxData, &resources, why);
  };
  std::vector<uint8_t> tree;
  ASSERT_TRUE(BuildResourceSection(StubResources(true), 0, &tree));
  std::string why;
  EXPECT_TRUE(read(tree, 12, &why)) << why;  // the three resources hold 12 bytes
  EXPECT_FALSE(read(tree, 11, &why));
  EXPECT_NE(std::string::npos, why.find("more data than the file holds")) << why;

  std::vector<uint8_t> shared = tree;  // the second type points at the first one's names
  setup::StoreLE32(&shared[16 + 8 + 4], LoadLE32(&shared[16 + 4]));
  EXPECT_FALSE(read(shared, 12, &why));
  EXPECT_NE(std::string::npos, why.find("directory is shared")) << why;

  // Two types of 131,070 names each, the first type's names all empty directories.
  constexpr uint32_t kNames = 2 * 0xFFFF;
  const uint32_t first = 32, second = first + 16 + 8 * kNames, empties = second + 16 + 8 * kNames;
  std::vector<uint8_t> wide(empties + 16 * kNames, 0);
  setup::StoreLE16(&wide[14], 2);
  setup::StoreLE32(&wide[16 + 4], first | 0x80000000u);
  setup::StoreLE32(&wide[24], 1);
  setup::StoreLE32(&wide[24 + 4], second | 0x80000000u);
  for (uint32_t type : {first, second}) {
    setup::StoreLE16(&wide[type + 12], 0xFFFF);
    setup::StoreLE16(&wide[type + 14], 0xFFFF);
    for (uint32_t i = 0; i < kNames; ++i) {
      setup::StoreLE32(&wide[type + 16 + 8 * i + 4], (empties + 16 * i) | 0x80000000u);
    }
  }
  EXPECT_FALSE(read(wide, 0, &why));
  EXPECT_NE(std::string::npos, why.find("too many entries")) << why;
}

// Its programs read nothing from their folder unless the publisher asks, and then nothing else.
TEST_F(ZarcSetup, StoresWhetherTheFolderMayReplaceThePackage) {
  const std::string stub = Put("stub.exe", MakeStub({}));
  const std::vector<std::string> pictures = Pictures();
  const std::string script = Put("setup.txt", "#T=Q\r\n#F=x\r\n");
  const struct {
    std::vector<std::string> more;
    int status;
    std::string record;
  } cases[] = {
      {{}, 0, std::string("ZSRC\0\0\0\0", 8)},
      {{"--allow-folder-overrides"}, 0, std::string("ZSRC\1\0\0\0", 8)},
      {{"--external", "late.bin"}, 1, ""},
      {{"--external", "late.bin", "--allow-folder-overrides"}, 0, std::string("ZSRC\1\0\0\0", 8)},
  };
  for (const auto& c : cases) {
    files_->RemoveFile(folder_.PathOf("out.exe").c_str());
    std::vector<std::string> more = c.more;
    more.insert(more.end(), {script, pictures[0], pictures[1]});
    const RunResult run = MakeSetup(stub, more);
    ASSERT_EQ(c.status, run.status) << run.err;
    if (c.status != 0) {
      EXPECT_NE(std::string::npos, run.err.find("\"late.bin\": external")) << run.err;
      EXPECT_NE(std::string::npos, run.err.find("--allow-folder-overrides")) << run.err;
      continue;
    }
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
