// What only the Win32 side can show: exact code page 932 conversions, names as Windows stores
// them, and the program's own resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/platform_fixture.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_programs_in_use.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"

namespace setup::testing {
namespace {

const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";  // "ソフト" in code page 932

TEST(WideText, ConvertsCodePage932BothWays) {
  const std::string text = "a" + kSoft + "\xb1";  // ASCII, double-byte, single-byte katakana
  const std::wstring wide = L"a\u30bd\u30d5\u30c8\uff71";
  std::wstring toWide;
  ASSERT_TRUE(ToWide(text.c_str(), &toWide));
  EXPECT_EQ(toWide, wide);
  std::string back;
  ASSERT_TRUE(FromWide(wide.c_str(), &back));
  EXPECT_EQ(back, text);
  EXPECT_TRUE(ToWide("", &toWide));
  EXPECT_TRUE(toWide.empty());
}

TEST(WideText, RefusesWhatHasNoExactForm) {
  std::wstring wide;
  for (const char* bad : {"\x83", "name\x83", "\x83\x20"}) EXPECT_FALSE(ToWide(bad, &wide)) << bad;
  std::string narrow;
  // é would best-fit to 'e' and an emoji to '?': either would name another file.
  for (const wchar_t* bad : {L"caf\u00e9", L"\U0001F600"}) {
    EXPECT_FALSE(FromWide(bad, &narrow));
    EXPECT_TRUE(narrow.empty());
  }
}

// What is shown keeps every character it can: each stray byte, at the start, in the middle (before
// a line break, or an unassigned double-byte code) or at the end, becomes one U+FFFD.
TEST(WideText, DisplayTextReplacesOnlyWhatHasNoMeaning) {
  const std::string text = "\x83\r\n" + kSoft + "a\xeb\x40" "b\xff\r\n" + "\xb1\x83";
  WideText shown;
  ASSERT_TRUE(ToWideForDisplay(text.c_str(), &shown));
  EXPECT_EQ(std::wstring(shown.c_str(), shown.size()),
            L"\ufffd\r\n\u30bd\u30d5\u30c8a\ufffdb\ufffd\r\n\uff71\ufffd");
  const std::string valid = kSoft + "\r\n\xb1";
  ASSERT_TRUE(ToWideForDisplay(valid.c_str(), &shown));
  std::wstring exact;
  ASSERT_TRUE(ToWide(valid.c_str(), &exact));
  EXPECT_EQ(std::wstring(shown.c_str(), shown.size()), exact);
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    ASSERT_TRUE(ToWide(folder_.path().c_str(), &widePath_));
  }
  TempFolder folder_;
  std::wstring widePath_;
  std::unique_ptr<FileSystem> fs_ = MakeFileSystem();
};

TEST_F(Win32FileSystemTest, JapaneseNamesReachWindowsAsTheirCharacters) {
  ASSERT_TRUE(fs_->MakeFolder(folder_.PathOf(kSoft).c_str()));
  DWORD attributes = GetFileAttributesW((widePath_ + L"\\\u30bd\u30d5\u30c8").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(Win32FileSystemTest, ListingSkipsNamesWithoutCodePage932Form) {
  ASSERT_TRUE(CreateDirectoryW((widePath_ + L"\\caf\u00e9").c_str(), nullptr));
  ASSERT_TRUE(folder_.WriteFile("plain", "x"));
  struct : FolderVisitor {
    bool Visit(const FolderItem& item) override {
      names += std::string(item.name) + ";";
      return true;
    }
    std::string names;
  } collector;
  ASSERT_TRUE(fs_->ListFolder(folder_.path().c_str(), collector));
  EXPECT_EQ(collector.names, "plain;");
}

// Opens a file without sharing, as a virus scanner or an indexer may for a moment.
std::unique_ptr<ScopedHandle> Hold(const std::wstring& path) {
  return std::make_unique<ScopedHandle>(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

struct BusyOperation {
  const char* name;
  bool (*run)(FileSystem&, const TempFolder&);
  const char* heldAfterwards;  // the held file's bytes once the operation has succeeded
  friend void PrintTo(const BusyOperation& operation, std::ostream* out) { *out << operation.name; }
};

class HeldFileTest : public Win32FileSystemTest, public ::testing::WithParamInterface<BusyOperation> {
 protected:
  std::string Held() {
    std::string bytes;
    return folder_.ReadFile("held", &bytes) ? bytes : "<none>";
  }
};

TEST_P(HeldFileTest, WaitsForAFileHeldForAMomentAndGivesUpOnOneHeldForGood) {
  const std::wstring held = widePath_ + L"\\held";
  ASSERT_TRUE(folder_.WriteFile("held", "old") && folder_.WriteFile("new", "new"));
  std::unique_ptr<ScopedHandle> holder = Hold(held);
  ASSERT_TRUE(holder->valid());
  std::thread releaser([&holder] {
    Sleep(500);
    holder->Close();
  });
  Win32FileSystem files;
  EXPECT_TRUE(GetParam().run(files, folder_));
  releaser.join();
  EXPECT_EQ(Held(), GetParam().heldAfterwards);

  ASSERT_TRUE(folder_.WriteFile("held", "old") && folder_.WriteFile("new", "new"));
  holder = Hold(held);
  ASSERT_TRUE(holder->valid());
  Win32FileSystem impatient(200);  // gives up as after the real five seconds, sooner
  EXPECT_FALSE(GetParam().run(impatient, folder_));
  holder.reset();
  EXPECT_EQ(Held(), "old");
}

INSTANTIATE_TEST_SUITE_P(
    Win32FileSystem, HeldFileTest,
    ::testing::Values(
        BusyOperation{"Remove", [](FileSystem& fs, const TempFolder& f) { return fs.RemoveFile(f.PathOf("held").c_str()); },
                      "<none>"},
        BusyOperation{"MoveOver",
                      [](FileSystem& fs, const TempFolder& f) {
                        return fs.MoveOver(f.PathOf("new").c_str(), f.PathOf("held").c_str());
                      },
                      "new"},
        BusyOperation{"CopyOver",
                      [](FileSystem& fs, const TempFolder& f) {
                        return fs.CopyFileOver(f.PathOf("new").c_str(), f.PathOf("held").c_str());
                      },
                      "new"},
        BusyOperation{"WriteOver",
                      [](FileSystem& fs, const TempFolder& f) {
                        auto file = fs.OpenForWriting(f.PathOf("held").c_str(), WriteMode::kReplace);
                        return file != nullptr && file->Write("new", 3) && file->Close(false);
                      },
                      "new"},
        BusyOperation{"FreeOfHolders",  // what a run asks before it changes anything
                      [](FileSystem& fs, const TempFolder& f) { return !fs.HeldByAnother(f.PathOf("held").c_str()); },
                      "old"}),
    [](const ::testing::TestParamInfo<BusyOperation>& param) { return std::string(param.param.name); });

// "Access denied" may be for good (a program image in use, rights that deny it, a hidden file
// written over): a run with many such files waits once in all, not once per file. A success
// refills the wait, so that a brief hold after them is still waited for.
TEST_F(Win32FileSystemTest, FilesDeniedForGoodShareOneWaitInAll) {
  constexpr int kFiles = 5;
  constexpr uint32_t kLimit = 400;
  wchar_t self[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameW(nullptr, self, MAX_PATH));
  std::vector<HMODULE> images;  // each copy mapped as a program image, as a running one is
  for (int i = 0; i < kFiles; ++i) {
    const std::wstring path = widePath_ + L"\\image" + std::to_wstring(i) + L".exe";
    ASSERT_TRUE(CopyFileW(self, path.c_str(), FALSE));
    images.push_back(LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
    ASSERT_NE(nullptr, images.back());
  }
  const BOOL deleted = DeleteFileW((widePath_ + L"\\image0.exe").c_str());
  const DWORD error = GetLastError();
  if (!deleted && error == ERROR_ACCESS_DENIED) {
    Win32FileSystem files(kLimit);
    const ULONGLONG start = GetTickCount64();
    for (int i = 1; i < kFiles - 1; ++i) {
      EXPECT_FALSE(files.RemoveFile(folder_.PathOf("image" + std::to_string(i) + ".exe").c_str()));
    }
    EXPECT_LT(GetTickCount64() - start, 2 * kLimit);  // each file on its own: 3 * kLimit
    ASSERT_TRUE(folder_.WriteFile("plain", "x"));
    EXPECT_TRUE(files.RemoveFile(folder_.PathOf("plain").c_str()));
    HMODULE brief = images.back();
    images.pop_back();
    std::thread releaser([brief] {
      Sleep(kLimit / 4);
      FreeLibrary(brief);
    });
    EXPECT_TRUE(files.RemoveFile(folder_.PathOf("image" + std::to_string(kFiles - 1) + ".exe").c_str()));
    releaser.join();
  }
  for (HMODULE image : images) FreeLibrary(image);
  if (deleted || error != ERROR_ACCESS_DENIED) {
    GTEST_SKIP() << "this system deletes a program image in use (error " << error << ")";
  }
}

// Restart Manager names the program that holds a file where it can; Wine's names nobody, and the
// open without sharing still finds the hold.
TEST_F(Win32FileSystemTest, AHeldFileIsFoundAndItsProgramNamedWhereTheSystemCan) {
  ASSERT_TRUE(folder_.WriteFile("held", "x"));
  const std::string path = folder_.PathOf("held");
  std::unique_ptr<ScopedHandle> holder = Hold(widePath_ + L"\\held");
  ASSERT_TRUE(holder->valid());
  Win32ProgramsInUse programs;
  const char* paths[] = {path.c_str()};
  char names[512] = "";
  const int named = programs.Begin() && programs.Add(paths, 1) ? programs.Holders(names, sizeof names) : 0;
  Win32FileSystem files(200);
  EXPECT_TRUE(files.HeldByAnother(path.c_str()));
  holder.reset();
  EXPECT_FALSE(files.HeldByAnother(path.c_str()));
  EXPECT_FALSE(files.HeldByAnother(folder_.PathOf("missing").c_str()));
  if (named == 0) GTEST_SKIP() << "this system's Restart Manager names nobody";
  EXPECT_NE(std::string(names).find("unit_tests"), std::string::npos) << names;
}

TEST(Win32Resources, FindsPackagesByIdAndByNameIgnoringCase) {
  Win32Resources resources;
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(resources.FindPackage(135, &data, &size));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), "ZARC-135");
  ASSERT_TRUE(resources.FindPackage("files.zarc", &data, &size));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), std::string("files\0bytes", 11));

  EXPECT_FALSE(resources.FindPackage("missing.zarc", &data, &size));
  EXPECT_FALSE(resources.FindPackage("", &data, &size));
  for (int id : {136, 0, -135, 135 + 0x10000}) EXPECT_FALSE(resources.FindPackage(id, &data, &size)) << id;
}

// Each root is the system's own key: the list of installed programs is read from the machine's
// 64-bit view, whatever view the program itself would get.
TEST(Win32Registry, EachRootIsTheSystemsKeyAndTheMachineIsSeenIn64Bits) {
  TempRegistryPath area;
  Win32Registry registry;
  const std::pair<RegistryRoot, HKEY> roots[] = {
      {RegistryRoot::kUsers, HKEY_USERS}, {RegistryRoot::kCurrentUser, HKEY_CURRENT_USER},
      {RegistryRoot::kLocalMachine, HKEY_LOCAL_MACHINE}};
  for (const auto& [root, system] : roots) {
    std::unique_ptr<RegistryKey> key = registry.OpenOrCreate(root, area.path(root).c_str());
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->SetNumber("Root", uint32_t(root)));
    DWORD value = 0, size = sizeof value;
    WideText path;
    ASSERT_TRUE(ToWide(area.path(root).c_str(), &path));
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(system, path.c_str(), L"Root",
                                          RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6464KEY, nullptr, &value, &size));
    EXPECT_EQ(uint32_t(root), value);
  }
}

}  // namespace
}  // namespace setup::testing
