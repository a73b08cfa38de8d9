// The delay-load helper against a descriptor laid out as the linker's delay thunks have it: RVAs
// into this test's own image.
#include <windows.h>

#include <delayimp.h>

#include <gtest/gtest.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr import, FARPROC* entry);

namespace {

RVA RvaOf(const void* address) {
  return RVA(reinterpret_cast<const BYTE*>(address) - reinterpret_cast<const BYTE*>(&__ImageBase));
}

struct NamedImport {
  WORD hint;
  char name[32];
};

// Static, so that they lie inside the image as the real tables do.
char dllName[] = "version.dll";
NamedImport first = {0, "GetFileVersionInfoSizeW"};
NamedImport second = {0, "VerQueryValueW"};
IMAGE_THUNK_DATA names[3];
FARPROC table[2];
HMODULE slot;
ImgDelayDescr import;

TEST(DelayLoad, LoadsTheDllOnceAndFillsEachEntryWithItsOwnFunction) {
  names[0].u1.AddressOfData = RvaOf(&first);
  names[1].u1.AddressOfData = RvaOf(&second);
  import = {1, RvaOf(dllName), RvaOf(&slot), RvaOf(table), RvaOf(names), 0, 0, 0};

  // The second entry first: the index comes from the entry, not from the order of the calls.
  FARPROC later = __delayLoadHelper2(&import, &table[1]);
  ASSERT_NE(nullptr, slot);
  HMODULE loaded = slot;
  EXPECT_EQ(reinterpret_cast<FARPROC>(GetProcAddress(loaded, "VerQueryValueW")), later);
  EXPECT_EQ(later, table[1]);
  EXPECT_EQ(nullptr, table[0]);

  FARPROC earlier = __delayLoadHelper2(&import, &table[0]);
  EXPECT_EQ(loaded, slot);
  EXPECT_EQ(reinterpret_cast<FARPROC>(GetProcAddress(loaded, "GetFileVersionInfoSizeW")), earlier);
  EXPECT_EQ(earlier, table[0]);
}

}  // namespace
