// A Windows program image as zarc setup reads and rewrites it: its resource section rebuilt and
// placed last.
//
//   0            "MZ" ...; u32 at 0x3C: offset of the PE header
//   PE header    "PE\0\0", then the file header (20 bytes): machine u16, section count u16, time
//                stamp, symbol table offset, symbol count, optional header size u16, flags u16
//   optional     magic u16 (0x10B: 32-bit, 0x20B: 64-bit); initialized data size at 8; section
//   header       alignment at 32, file alignment at 36; image size at 56, header size at 60,
//                checksum at 64, subsystem u16 at 68; directory count at 92 (32-bit) or 108
//                (64-bit), then the directories, 8 bytes each (RVA, size): 2 the resources, 4 the
//                signature (a file offset, not an RVA), 5 the base relocations
//   sections     40 bytes each: name[8], virtual size, RVA, raw size, raw offset, ..., flags at 36;
//                in ascending RVA order
//   raw data     of the sections, each at a multiple of the file alignment
//   signature    when signed: the certificate table, last in the file
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zarc/pe/pe_resources.h"

namespace zarc {

class ProgramImage {
 public:
  // Takes a program file and checks that it is one zarc can rebuild: a Windows GUI program
  // (not a DLL, not a console program) with its resources in a section of their own that only
  // the relocations may follow. False when not; *why then says why, in words for a message about
  // the file.
  bool Read(std::vector<uint8_t> file, std::string* why);

  const std::vector<Resource>& resources() const { return resources_; }
  bool isSigned() const { return signatureSize_ > 0; }

  // The program with the given resources in place of its own: the resource section rebuilt and
  // placed last, the relocations moved before it, image size, directories and checksum fixed, a
  // signature dropped. False when it would reach 2 GiB; *why then says so.
  bool Rebuild(const std::vector<Resource>& resources, std::vector<uint8_t>* out,
               std::string* why) const;

 private:
  struct Section {
    size_t headerAt;
    uint32_t virtualSize, rva, rawSize, rawOffset;
  };

  using PlacedSection = std::pair<size_t, Section>;  // header from the old file, new place

  static bool Fail(std::string* why, const std::string& reason);
  bool ReadHeaders(std::string* why);
  bool ReadSections(std::string* why);
  bool FindResourceSection(std::string* why);
  bool CheckEnd(std::string* why);
  bool ReadResourceTree(std::string* why);
  uint32_t Directory(int index, int field) const;  // field 0: RVA (or offset), 1: size
  size_t DirectoryAt(int index) const;
  const uint8_t* BytesAt(uint32_t rva, uint32_t size) const;
  void MoveSectionsAfterResources(std::vector<uint8_t>* out, uint64_t* rva,
                                  std::vector<PlacedSection>* placed) const;
  void WriteHeaders(const std::vector<PlacedSection>& placed, const Section& rebuilt,
                    uint64_t imageSize, std::vector<uint8_t>* out) const;

  std::vector<uint8_t> file_;
  size_t optionalAt_ = 0;
  size_t directoriesAt_ = 0;
  uint32_t directoryCount_ = 0;
  uint32_t fileAlignment_ = 0;
  uint32_t sectionAlignment_ = 0;
  std::vector<Section> sections_;
  size_t resourceSection_ = 0;  // index in sections_; the ones after it are moved
  uint64_t sectionsEnd_ = 0;    // end of the last raw data in the file
  uint32_t signatureSize_ = 0;
  std::vector<Resource> resources_;
};

// The checksum of a program image as Windows computes it: 16-bit one's-complement-style sum of
// the file with the checksum field counted as 0, plus the file's length.
uint32_t ImageChecksum(const std::vector<uint8_t>& image, size_t checksumAt);

}  // namespace zarc
