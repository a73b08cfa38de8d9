// What only the Win32 registry can show: how values are stored for other programs to read, and
// how values that other programs stored are read.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "platform/platform_fixture.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"

namespace setup::testing {
namespace {

const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";  // "ソフト" in code page 932

class Win32RegistryTest : public ::testing::Test {
 protected:
  // The wide path of this test's key below root, plus suffix.
  std::wstring WidePath(RegistryRoot root, const std::wstring& suffix = L"") {
    std::wstring wide;
    EXPECT_TRUE(ToWide(area_.path(root).c_str(), &wide));
    return wide + suffix;
  }

  TempRegistryPath area_;
  Win32Registry registry_;
};

TEST_F(Win32RegistryTest, StoresUtf16StringsWithTheirNulAndFourByteDwords) {
  const std::pair<RegistryRoot, HKEY> roots[] = {{RegistryRoot::kUsers, HKEY_USERS},
                                                 {RegistryRoot::kCurrentUser, HKEY_CURRENT_USER}};
  for (const auto& [root, rootKey] : roots) {
    auto key = registry_.OpenOrCreate(root, (area_.path(root) + "\\" + kSoft).c_str());
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->SetString("Path", ("C:\\" + kSoft).c_str()));
    ASSERT_TRUE(key->SetNumber("Version", 5));

    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(rootKey, WidePath(root, L"\\\u30bd\u30d5\u30c8").c_str(), 0, KEY_READ, &raw),
              ERROR_SUCCESS);
    wchar_t text[16] = {};
    DWORD type = 0, size = sizeof text;
    EXPECT_EQ(RegQueryValueExW(raw, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 7 * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(text), L"C:\\\u30bd\u30d5\u30c8");
    DWORD number = 0;
    size = sizeof number;
    EXPECT_EQ(RegQueryValueExW(raw, L"Version", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(number, 5u);
    RegCloseKey(raw);
  }
}

TEST_F(Win32RegistryTest, ReadsOnlyWhatIsExactlyAStringOrADword) {
  auto key = registry_.OpenOrCreate(RegistryRoot::kCurrentUser, area_.path(RegistryRoot::kCurrentUser).c_str());
  ASSERT_NE(key, nullptr);
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, WidePath(RegistryRoot::kCurrentUser).c_str(), 0, KEY_ALL_ACCESS, &raw),
            ERROR_SUCCESS);
  auto set = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(raw, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  };
  const uint8_t eight[8] = {5};
  // Not followed by a NUL in memory, or the system would count one in.
  set(L"no NUL", REG_SZ, L"abcd", 3 * sizeof(wchar_t));
  set(L"odd length", REG_SZ, L"abcd", 3 * sizeof(wchar_t) + 1);
  set(L"inner NUL", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t));
  set(L"accented", REG_SZ, L"caf\u00e9", 5 * sizeof(wchar_t));
  set(L"expand", REG_EXPAND_SZ, L"%TEMP%", 7 * sizeof(wchar_t));
  set(L"wide dword", REG_DWORD, eight, 8);
  set(L"short dword", REG_DWORD, eight, 2);
  set(L"binary", REG_BINARY, eight, 4);
  RegCloseKey(raw);

  auto read = [&](const char* name) {
    char buffer[260];
    return key->QueryString(name, buffer, sizeof buffer) ? std::string(buffer) : "<absent>";
  };
  EXPECT_EQ(read("no NUL"), "abc");
  EXPECT_EQ(read("odd length"), "abc");
  EXPECT_EQ(read("inner NUL"), "ab");
  EXPECT_EQ(read("accented"), "<absent>");  // no exact code page 932 form
  EXPECT_EQ(read("expand"), "<absent>");
  for (const char* name : {"wide dword", "short dword", "binary"}) {
    uint32_t number = 7;
    EXPECT_FALSE(key->QueryNumber(name, &number)) << name;
    EXPECT_EQ(number, 7u);
  }
}

}  // namespace
}  // namespace setup::testing
