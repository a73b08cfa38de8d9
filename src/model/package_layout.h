// What a package is made of, as the setup program reads it: the names of the entries and files it
// looks for, the program resources that carry a package, and the capacities of every place a
// package's bytes go. zarc builds and checks packages from these same definitions.
//
// "ZARC" archive, all numbers little-endian unsigned 32-bit:
//
//   0        4   magic "ZARC"
//   4        4   entry count (only the low 16 bits are read: at most 65,535)
//   8   64 x n   index: one ArchiveEntry per entry
//   ...          entry data: one complete zlib stream per entry, where its record points
//
//   ArchiveEntry, 64 bytes:
//   0   4   offset       of the entry's zlib stream, from the first byte of the image
//   4   4   stored size  length of that zlib stream; 0: read the file of this name from disk
//   8   4   full size    length of the decompressed data
//   12 52   name         NUL-terminated (at most 51 bytes), NUL-padded, code page 932
//
// "ZFIL" single compressed file:
//
//   0   4   magic "ZFIL"
//   4   4   stored size  length of the zlib stream
//   8   4   full size    length of the decompressed data
//   12 52   not read (the packer puts the file's name here)
//   64  ..  the zlib stream
//
// "ZSRC" package sources, the "ZARC" resource 136 that zarc setup writes into every program it
// makes (a program without one is as built from the sources: the current directory takes part):
//
//   0   4   magic "ZSRC"
//   4   4   flags        bit 0: "files.zarc" and the files of the current directory take part;
//                        bit 1: the program is a product's uninstaller, not its setup;
//                        bit 2: the package's #U entry is such an uninstaller, made by zarc, so
//                        the setup lists the product in the system's installed programs;
//                        the other bits are 0
//
// The install script, an entry, is read line by line: "#", a command letter, one skipped byte,
// then the value (script/install_script.h).
#pragma once

#ifdef __cplusplus
#include <cstddef>
#include <cstdint>
#endif

/* The "ZARC" resources of the program (the resource script reads only these #define lines). */
#define IDR_PACKAGE 135
#define IDR_PACKAGE_SOURCES 136 /* "ZARC" type too: whether the current directory takes part */

#ifdef __cplusplus
namespace setup {

// The entries a package holds for the program itself.
inline constexpr char kScriptEntry[] = "setup.txt";
inline constexpr char kMainPictureEntry[] = "setup256.bmp";
inline constexpr char kPartsPictureEntry[] = "parts.bmp";
inline constexpr char kLicenceEntry[] = "\x93\xaf\x88\xd3\x8f\x91.txt";  // 同意書.txt

// The package file beside the program, and the saved data a version-up carries over.
inline constexpr char kPackageFileName[] = "files.zarc";
inline constexpr char kSavedDataName[] = "zimel.dat";

// The archive.
constexpr uint32_t kMaxArchiveEntries = 65535;  // the count is read as 16 bits
constexpr uint32_t kEntryNameCapacity = 52;  // 51 bytes and the NUL
constexpr uint32_t kArchiveHeaderSize = 8;
constexpr uint32_t kArchiveRecordSize = 64;
constexpr uint32_t kZfilHeaderSize = 64;
constexpr uint32_t kPackageSourcesSize = 8;
constexpr uint32_t kCurrentFolderFlag = 1;
constexpr uint32_t kUninstallerFlag = 2;
constexpr uint32_t kOwnUninstallerFlag = 4;

// The script: a line of more bytes than kScriptLineCapacity less two (the break and the NUL) ends
// the reading of the script there; settings hold 259 bytes, list values 254, and the list as many
// commands as the archive holds entries.
constexpr uint32_t kScriptLineCapacity = 512;
constexpr size_t kSettingCapacity = 260;
constexpr size_t kInstallTextCapacity = 255;  // at most 254 bytes and the NUL
constexpr int kMaxInstallEntries = 65535;

}  // namespace setup
#endif
