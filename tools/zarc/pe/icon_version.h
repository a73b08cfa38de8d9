// The resources zarc setup adds to the stub besides the package: the program's icon and its
// version information.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zarc/pe/pe_resources.h"

namespace zarc {

// The language of the resources zarc adds: the one the stub's resource compiler gives them.
constexpr uint16_t kResourceLanguage = 0x0409;

// An icon file (.ico): header u16 0, u16 1, u16 count; then count entries of 16 bytes (width,
// height, colours, 0, planes u16, bits u16, size u32, offset u32), then the images, each a PNG or
// a bitmap without its file header. Becomes one icon resource per image, ids 1 to count, and the
// icon group 1 that lists them. False when the file is no such icon; *why then says why.
bool IconResources(const std::vector<uint8_t>& file, std::vector<Resource>* resources,
                   std::string* why);

// The strings of the version information, UTF-16; empty ones are left out.
struct VersionStrings {
  std::u16string productName;
  std::u16string productVersion;
  std::u16string company;
  std::u16string description;
  std::u16string copyright;
};

// Reads "1", "1.2", "1.2.3" or "1.2.3.4" (each part 0 to 65535) into the four parts of a fixed
// version number, missing ones 0. False for anything else.
bool ParseVersionNumber(const std::string& text, uint16_t parts[4]);

// The version information resource (type 16, id 1): the fixed block with the version number as
// both file and product version, the strings in a table for Japanese, Unicode.
Resource VersionResource(const VersionStrings& strings, const uint16_t version[4]);

}  // namespace zarc
