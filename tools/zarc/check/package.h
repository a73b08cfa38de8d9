// A package opened for checking, owned by whoever checks it: the image (the one copy), indexed once
// by the setup program's own archive reader, and the program's own script parser over the same
// bytes. Nothing of it is shared, so checks may run side by side.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/package_archive.h"
#include "model/package_script.h"
#include "zarc/archive/archive_file.h"

namespace zarc {

class Package {
 public:
  Package();
  ~Package();
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  // Takes the image of a package. False when zarc cannot read its index, or it is 4 GiB or larger;
  // *why then says why.
  bool Open(std::vector<uint8_t> image, std::string* why);

  const std::vector<uint8_t>& image() const { return image_; }
  const LoadedArchive& records() const { return *records_; }
  // The archive as the setup program reads it (the package alone, never the files beside it), or
  // null when its reader refuses the image.
  const setup::PackageArchive* archive() const {
    return records_->index.source() != setup::kPackageClosed ? &records_->index : nullptr;
  }

  // The script as the setup program parses it: null when it refuses it or there is none. Parsed
  // the first time it is asked for.
  const setup::PackageScript* Script();
  std::string Caption();  // #T, the product's name; empty without a script
  uint32_t Version();     // #V; 0 when the script gives none

  // Gives up the image, which the package no longer reads.
  std::vector<uint8_t> TakeImage();

 private:
  std::vector<uint8_t> image_;
  std::unique_ptr<LoadedArchive> records_;
  bool parsed_ = false;
  std::unique_ptr<setup::PackageScript> script_;  // null when refused
};

}  // namespace zarc
