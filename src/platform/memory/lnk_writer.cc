#include "platform/memory/lnk_writer.h"

#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "base/byte_order.h"
#include "base/text.h"

namespace setup {

// The file written, all numbers little-endian (MS-SHLLINK, only the parts a shortcut needs):
//
//   ShellLinkHeader, 76 bytes
//     0  4  HeaderSize            0x4C
//     4 16  LinkCLSID             00021401-0000-0000-C000-000000000046
//    20  4  LinkFlags             HasLinkInfo 0x02 | HasWorkingDir 0x10 | IsUnicode 0x80
//    24  4  FileAttributes        0 (the target need not exist yet)
//    28 24  Creation/Access/WriteTime, 8 bytes each, 0
//    52  4  FileSize              0
//    56  4  IconIndex             0
//    60  4  ShowCommand           1 SW_SHOWNORMAL, 3 maximized, 7 minimized
//    64  2  HotKey                0
//    66 10  Reserved              0
//   LinkInfo, at 76
//     0  4  LinkInfoSize          everything below, strings included
//     4  4  LinkInfoHeaderSize    0x24: the Unicode path offsets are present
//     8  4  LinkInfoFlags         1 VolumeIDAndLocalBasePath
//    12  4  VolumeIDOffset        0x24
//    16  4  LocalBasePathOffset
//    20  4  CommonNetworkRelativeLinkOffset  0
//    24  4  CommonPathSuffixOffset
//    28  4  LocalBasePathOffsetUnicode
//    32  4  CommonPathSuffixOffsetUnicode
//    36 17  VolumeID: size 0x11, DriveType 3 fixed, serial 0, label offset 0x10, label ""
//        n  LocalBasePath         the target, code page 932, NUL
//        1  CommonPathSuffix      "" NUL
//        m  LocalBasePathUnicode  the target, UTF-16, NUL
//        2  CommonPathSuffixUnicode  "" NUL
//   StringData WORKING_DIR
//        2  CountCharacters       UTF-16 units, no NUL follows
//        k  the working directory, UTF-16
//   TerminalBlock                 4 bytes 0
//
// Offsets inside LinkInfo count from its first byte; strings are not aligned.

namespace {

constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kHeaderSize = 0x4C;
constexpr uint32_t kLinkInfoHeaderSize = 0x24;
constexpr uint32_t kVolumeIdSize = 0x11;
constexpr uint32_t kDriveFixed = 3;
constexpr uint8_t kShellLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Code page 932 to UTF-16 through the C library's converter. False for bytes that are not valid
// code page 932.
bool ToUtf16(const char* text, std::u16string* out) {
  out->clear();
  iconv_t converter = iconv_open("UTF-16LE", "CP932");
  if (converter == iconv_t(-1)) return false;
  size_t length = strlen(text);
  std::string wide(length * 2, '\0');  // each byte becomes at most one UTF-16 unit
  char* in = const_cast<char*>(text);
  char* put = &wide[0];
  size_t inLeft = length, outLeft = wide.size();
  bool ok = length == 0 || iconv(converter, &in, &inLeft, &put, &outLeft) != size_t(-1);
  iconv_close(converter);
  if (!ok || inLeft != 0) return false;
  size_t units = (wide.size() - outLeft) / 2;
  for (size_t i = 0; i < units; ++i) {
    out->push_back(char16_t(uint8_t(wide[2 * i]) | uint8_t(wide[2 * i + 1]) << 8));
  }
  return true;
}

void PutUtf16(std::vector<uint8_t>* out, const std::u16string& text) {
  for (char16_t unit : text) AppendLE16(out, uint16_t(unit));
}

void PatchAt(std::vector<uint8_t>* out, size_t at, uint32_t value) { StoreLE32(out->data() + at, value); }

}  // namespace

bool BuildShortcutFile(const char* target, const char* workingDirectory, int showCommand,
                       std::vector<uint8_t>* out) {
  out->clear();
  std::u16string wideTarget, wideFolder;
  if (strlen(target) >= kPathCapacity || strlen(workingDirectory) >= kPathCapacity ||
      !ToUtf16(target, &wideTarget) || !ToUtf16(workingDirectory, &wideFolder)) {
    return false;
  }

  AppendLE32(out, kHeaderSize);
  out->insert(out->end(), kShellLinkClsid, kShellLinkClsid + 16);
  AppendLE32(out, kHasLinkInfo | kHasWorkingDir | kIsUnicode);
  out->resize(kHeaderSize - 16, 0);  // attributes, times, size, icon index: all 0
  AppendLE32(out, uint32_t(showCommand));
  out->resize(kHeaderSize, 0);       // hot key and reserved

  const size_t info = out->size();
  out->resize(info + kLinkInfoHeaderSize, 0);
  PatchAt(out, info + 4, kLinkInfoHeaderSize);
  PatchAt(out, info + 8, 1);  // VolumeIDAndLocalBasePath
  PatchAt(out, info + 12, kLinkInfoHeaderSize);
  AppendLE32(out, kVolumeIdSize);
  AppendLE32(out, kDriveFixed);
  AppendLE32(out, 0);     // serial number
  AppendLE32(out, 0x10);  // label offset, inside the VolumeID
  out->push_back(0);
  PatchAt(out, info + 16, uint32_t(out->size() - info));
  out->insert(out->end(), target, target + strlen(target) + 1);
  PatchAt(out, info + 24, uint32_t(out->size() - info));
  out->push_back(0);
  PatchAt(out, info + 28, uint32_t(out->size() - info));
  PutUtf16(out, wideTarget);
  AppendLE16(out, 0);
  PatchAt(out, info + 32, uint32_t(out->size() - info));
  AppendLE16(out, 0);
  PatchAt(out, info, uint32_t(out->size() - info));

  AppendLE16(out, uint16_t(wideFolder.size()));
  PutUtf16(out, wideFolder);
  AppendLE32(out, 0);
  return true;
}

}  // namespace setup
