#include "zarc/pe/pe_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/byte_order.h"

namespace zarc {

using setup::LoadLE16;
using setup::LoadLE32;
using setup::RangeInside;
using setup::StoreLE32;

namespace {

constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint32_t kMaxSections = 96;  // what Windows loads
constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kDll = 0x2000;
constexpr uint16_t kGuiSubsystem = 2;
constexpr uint16_t kConsoleSubsystem = 3;
constexpr int kResourceDirectory = 2;
constexpr int kSignatureDirectory = 4;
constexpr int kRelocationDirectory = 5;
constexpr uint64_t kMaxImageSize = 0x7FFFFFFF;  // the largest program image Windows loads

bool PowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

uint64_t Align(uint64_t value, uint64_t to) { return (value + to - 1) / to * to; }

std::string Hex(uint32_t v) {
  char text[16];
  snprintf(text, sizeof text, "0x%X", unsigned(v));
  return text;
}

}  // namespace

uint32_t ImageChecksum(const std::vector<uint8_t>& image, size_t checksumAt) {
  // The 16-bit words summed with end-around carry. Folded once at the end, not after each word,
  // the sum is the same (both are the ones' complement sum) at a fraction of the time: a setup
  // program is mostly its package.
  auto byte = [&](size_t i) -> uint64_t {
    if (i >= image.size() || (i >= checksumAt && i < checksumAt + 4)) return 0;
    return image[i];
  };
  const uint8_t* bytes = image.data();
  const size_t pairs = image.size() / 2;
  uint64_t total = 0;
  for (size_t i = 0; i < pairs; ++i) total += uint64_t(bytes[2 * i]) | uint64_t(bytes[2 * i + 1]) << 8;
  // The checksum field itself counts as zero, and an odd last byte as a word of its own.
  for (size_t i = checksumAt & ~size_t(1); i < checksumAt + 4 && i + 1 < image.size(); i += 2) {
    total -= uint64_t(bytes[i]) | uint64_t(bytes[i + 1]) << 8;
    total += byte(i) | byte(i + 1) << 8;
  }
  if (image.size() % 2 != 0) total += byte(image.size() - 1);
  while (total > 0xFFFF) total = (total & 0xFFFF) + (total >> 16);
  return uint32_t(total) + uint32_t(image.size());
}

bool ProgramImage::Fail(std::string* why, const std::string& reason) {
  *why = reason;
  return false;
}

size_t ProgramImage::DirectoryAt(int index) const { return directoriesAt_ + 8 * size_t(index); }

uint32_t ProgramImage::Directory(int index, int field) const {
  if (uint32_t(index) >= directoryCount_) return 0;
  return LoadLE32(&file_[DirectoryAt(index) + 4 * size_t(field)]);
}

const uint8_t* ProgramImage::BytesAt(uint32_t rva, uint32_t size) const {
  for (const Section& s : sections_) {
    if (rva >= s.rva && RangeInside(rva - s.rva, size, s.rawSize)) {
      return &file_[s.rawOffset + (rva - s.rva)];
    }
  }
  return nullptr;
}

bool ProgramImage::Read(std::vector<uint8_t> file, std::string* why) {
  file_ = std::move(file);
  return ReadHeaders(why) && ReadSections(why) && FindResourceSection(why) &&
         CheckEnd(why) && ReadResourceTree(why);
}

// The file and optional headers: a Windows GUI program for a machine Windows runs it on, with
// sane alignments and a directory table inside its header.
bool ProgramImage::ReadHeaders(std::string* why) {
  const uint64_t size = file_.size();
  const char* notProgram = "it is not a Windows program";
  if (size < 0x40 || file_[0] != 'M' || file_[1] != 'Z') return Fail(why, notProgram);
  const uint32_t peAt = LoadLE32(&file_[0x3C]);
  if (!RangeInside(peAt, 4 + kFileHeaderSize, size) || memcmp(&file_[peAt], "PE\0\0", 4) != 0) {
    return Fail(why, notProgram);
  }
  const uint8_t* header = &file_[peAt + 4];
  const uint16_t machine = LoadLE16(header);
  const uint16_t optionalSize = LoadLE16(header + 16);
  const uint16_t flags = LoadLE16(header + 18);
  optionalAt_ = peAt + 4 + kFileHeaderSize;
  if (!RangeInside(optionalAt_, optionalSize, size) || optionalSize < 96) {
    return Fail(why, "its headers are damaged");
  }
  const uint16_t magic = LoadLE16(&file_[optionalAt_]);
  const bool plus = magic == kPe32Plus;
  if (magic != kPe32 && !plus) return Fail(why, notProgram);
  if (plus ? (machine != 0x8664 && machine != 0xAA64) : machine != 0x14C) {
    return Fail(why, "it is built for a machine Windows does not run it on (machine " + Hex(machine) + ")");
  }
  if ((flags & kDll) != 0) return Fail(why, "it is a DLL, not a program");
  if ((flags & kExecutableImage) == 0) return Fail(why, "it is marked as not runnable");
  const uint16_t subsystem = LoadLE16(&file_[optionalAt_ + 68]);
  if (subsystem == kConsoleSubsystem) return Fail(why, "it is a console program, not a Windows GUI program");
  if (subsystem != kGuiSubsystem) {
    return Fail(why, "it is not a Windows GUI program (subsystem " + std::to_string(subsystem) + ")");
  }
  const size_t countAt = optionalAt_ + (plus ? 108 : 92);
  directoriesAt_ = countAt + 4;
  if (countAt + 4 > optionalAt_ + optionalSize) return Fail(why, "its headers are damaged");
  directoryCount_ = std::min<uint32_t>(LoadLE32(&file_[countAt]), 16);
  if (DirectoryAt(int(directoryCount_)) > optionalAt_ + optionalSize) {
    return Fail(why, "its headers are damaged");
  }
  sectionAlignment_ = LoadLE32(&file_[optionalAt_ + 32]);
  fileAlignment_ = LoadLE32(&file_[optionalAt_ + 36]);
  if (!PowerOfTwo(fileAlignment_) || fileAlignment_ < 512 || fileAlignment_ > 65536 ||
      !PowerOfTwo(sectionAlignment_) || sectionAlignment_ < fileAlignment_) {
    return Fail(why, "its headers are damaged (alignment)");
  }
  return true;
}

// What follows the last section: nothing but padding, and a signature at the very end.
bool ProgramImage::CheckEnd(std::string* why) {
  const uint64_t size = file_.size();
  signatureSize_ = Directory(kSignatureDirectory, 1);
  uint64_t dataEnd = size;
  if (signatureSize_ > 0) {
    const uint32_t signatureAt = Directory(kSignatureDirectory, 0);
    if (signatureAt < sectionsEnd_ || uint64_t(signatureAt) + signatureSize_ != size) {
      return Fail(why, "its signature is not at its end, where Windows looks for it");
    }
    dataEnd = signatureAt;
  }
  // Anything but padding after the sections would be lost: data appended to the program, or
  // debugging symbols.
  for (uint64_t i = sectionsEnd_; i < dataEnd; ++i) {
    if (file_[size_t(i)] != 0) {
      return Fail(why, std::to_string(dataEnd - sectionsEnd_) +
                           " bytes follow its last section (appended data or symbols); strip "
                           "them first");
    }
  }
  return true;
}

bool ProgramImage::ReadResourceTree(std::string* why) {
  resources_.clear();
  auto at = [this](uint32_t rva, uint32_t n) { return BytesAt(rva, n); };
  return ReadResources(at, Directory(kResourceDirectory, 0), Directory(kResourceDirectory, 1),
                       file_.size(), &resources_, why);
}

bool ProgramImage::ReadSections(std::string* why) {
  const uint8_t* header = &file_[optionalAt_ - kFileHeaderSize];
  const uint32_t count = LoadLE16(header + 2);
  const size_t tableAt = optionalAt_ + LoadLE16(header + 16);
  const uint32_t headersSize = LoadLE32(&file_[optionalAt_ + 60]);
  if (count == 0 || count > kMaxSections ||
      !RangeInside(tableAt, kSectionHeaderSize * count, std::min<uint64_t>(headersSize, file_.size()))) {
    return Fail(why, "its section table is damaged");
  }
  sections_.clear();
  sectionsEnd_ = headersSize;
  uint64_t nextRva = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t at = tableAt + kSectionHeaderSize * i;
    Section s{at, LoadLE32(&file_[at + 8]), LoadLE32(&file_[at + 12]), LoadLE32(&file_[at + 16]),
              LoadLE32(&file_[at + 20])};
    const uint32_t span = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
    // A section of no size would share its address with the next one, which a rebuild moves.
    if (span == 0) return Fail(why, "a section spans nothing");
    if (s.rva < nextRva || s.rva % sectionAlignment_ != 0) {
      return Fail(why, "its sections overlap or are out of order");
    }
    nextRva = Align(uint64_t(s.rva) + span, sectionAlignment_);
    if (s.rawSize > 0) {
      if (s.rawOffset < sectionsEnd_ || !RangeInside(s.rawOffset, s.rawSize, file_.size())) {
        return Fail(why, "a section's data lies outside the file or out of order");
      }
      sectionsEnd_ = uint64_t(s.rawOffset) + s.rawSize;
    }
    sections_.push_back(s);
  }
  return true;
}

bool ProgramImage::FindResourceSection(std::string* why) {
  const uint32_t rva = Directory(kResourceDirectory, 0);
  size_t r = 0;
  while (r < sections_.size() && (rva == 0 || sections_[r].rva != rva)) ++r;
  if (r == sections_.size() || sections_[r].rawSize == 0) {
    return Fail(why, "it has no resource section of its own");
  }
  resourceSection_ = r;
  // Only the relocations can move: nothing but their directory points into them.
  for (size_t i = r + 1; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    bool movable = s.rva == Directory(kRelocationDirectory, 0);
    for (int d = 0; d < int(directoryCount_); ++d) {
      const uint32_t at = Directory(d, 0);
      if (d != kRelocationDirectory && d != kSignatureDirectory && Directory(d, 1) > 0 &&
          at >= s.rva && at - s.rva < std::max(s.virtualSize, s.rawSize)) {
        movable = false;
      }
    }
    if (!movable) {
      char name[9] = {};
      memcpy(name, &file_[s.headerAt], 8);
      return Fail(why, std::string("its resource section is followed by section \"") + name +
                           "\", which cannot move");
    }
  }
  return true;
}

bool ProgramImage::Rebuild(const std::vector<Resource>& resources, std::vector<uint8_t>* out,
                           std::string* why) const {
  const char* tooLarge = "the setup program would reach 2 GiB, more than Windows loads";
  const Section& old = sections_[resourceSection_];
  out->assign(file_.begin(), file_.begin() + old.rawOffset);
  uint64_t rva = old.rva;
  std::vector<PlacedSection> placed;
  MoveSectionsAfterResources(out, &rva, &placed);

  const size_t treeAt = out->size();
  if (rva > kMaxImageSize || !BuildResourceSection(resources, uint32_t(rva), out)) return Fail(why, tooLarge);
  const uint64_t treeSize = out->size() - treeAt;
  const uint64_t rawSize = Align(treeSize, fileAlignment_);
  const uint64_t imageSize = Align(rva + treeSize, sectionAlignment_);
  if (treeAt + rawSize > kMaxImageSize || imageSize > kMaxImageSize) return Fail(why, tooLarge);
  Section rebuilt{old.headerAt, uint32_t(treeSize), uint32_t(rva), uint32_t(rawSize),
                  uint32_t(treeAt)};
  placed.push_back({old.headerAt, rebuilt});
  out->resize(size_t(treeAt + rawSize), 0);
  WriteHeaders(placed, rebuilt, imageSize, out);
  return true;
}

// The sections after the old resource section, moved up into its place in the file and in memory;
// *rvaAt is where the next one goes.
void ProgramImage::MoveSectionsAfterResources(std::vector<uint8_t>* out, uint64_t* rvaAt,
                                              std::vector<PlacedSection>* placed) const {
  uint64_t& rva = *rvaAt;
  for (size_t i = resourceSection_ + 1; i < sections_.size(); ++i) {
    Section s = sections_[i];
    const uint32_t span = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
    const size_t rawAt = out->size();
    out->insert(out->end(), file_.begin() + s.rawOffset, file_.begin() + s.rawOffset + s.rawSize);
    out->resize(size_t(Align(out->size(), fileAlignment_)), 0);
    if (s.rva == Directory(kRelocationDirectory, 0)) StoreLE32(&(*out)[DirectoryAt(kRelocationDirectory)], uint32_t(rva));
    s.rva = uint32_t(rva);
    s.rawOffset = s.rawSize > 0 ? uint32_t(rawAt) : 0;
    placed->push_back({sections_[i].headerAt, s});
    rva = Align(rva + span, sectionAlignment_);
  }
}

// The section table, sizes, directories and checksum of the rebuilt program.
void ProgramImage::WriteHeaders(const std::vector<PlacedSection>& placed, const Section& rebuilt,
                                uint64_t imageSize, std::vector<uint8_t>* out) const {
  const Section& old = sections_[resourceSection_];
  const uint32_t rawSize = rebuilt.rawSize;
  // The section table keeps RVA order: the moved sections take the old resource section's slot.
  for (size_t i = 0; i < placed.size(); ++i) {
    const size_t to = old.headerAt + kSectionHeaderSize * i;
    std::copy(file_.begin() + placed[i].first, file_.begin() + placed[i].first + kSectionHeaderSize,
              out->begin() + to);
    StoreLE32(&(*out)[to + 8], placed[i].second.virtualSize);
    StoreLE32(&(*out)[to + 12], placed[i].second.rva);
    StoreLE32(&(*out)[to + 16], placed[i].second.rawSize);
    StoreLE32(&(*out)[to + 20], placed[i].second.rawOffset);
  }
  const int64_t initialized = int64_t(LoadLE32(&file_[optionalAt_ + 8])) + int64_t(rawSize) - old.rawSize;
  StoreLE32(&(*out)[optionalAt_ + 8], uint32_t(std::clamp<int64_t>(initialized, 0, 0xFFFFFFFF)));
  StoreLE32(&(*out)[optionalAt_ + 56], uint32_t(imageSize));
  StoreLE32(&(*out)[DirectoryAt(kResourceDirectory)], rebuilt.rva);
  StoreLE32(&(*out)[DirectoryAt(kResourceDirectory) + 4], rebuilt.virtualSize);
  if (directoryCount_ > uint32_t(kSignatureDirectory)) {
    StoreLE32(&(*out)[DirectoryAt(kSignatureDirectory)], 0);
    StoreLE32(&(*out)[DirectoryAt(kSignatureDirectory) + 4], 0);
  }
  StoreLE32(&(*out)[optionalAt_ + 64], ImageChecksum(*out, optionalAt_ + 64));
}

}  // namespace zarc
