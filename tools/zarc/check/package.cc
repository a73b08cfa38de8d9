#include "zarc/check/package.h"

#include "script/install_script.h"

namespace zarc {

Package::Package() : records_(new LoadedArchive()) {}

Package::~Package() = default;

bool Package::Open(std::vector<uint8_t> image, std::string* why) {
  records_->Reset();
  image_ = std::move(image);
  parsed_ = false;
  script_.reset();
  if (image_.size() >= (uint64_t(1) << 32)) {
    *why = "the package is 4 GiB or larger; the setup program reads only smaller ones";
    return false;
  }
  records_->borrowed = image_.data();
  records_->size = uint32_t(image_.size());
  return IndexArchive(records_.get(), why);
}

const setup::PackageScript* Package::Script() {
  if (parsed_) return script_.get();
  parsed_ = true;
  if (archive() == nullptr) return nullptr;
  script_.reset(new setup::PackageScript());
  if (!setup::ParseInstallScript(*archive(), setup::kScriptEntry, script_.get())) script_.reset();
  return script_.get();
}

std::string Package::Caption() {
  const setup::PackageScript* script = Script();
  return script == nullptr ? std::string() : script->mainFolderName;
}

uint32_t Package::Version() {
  const setup::PackageScript* script = Script();
  return script == nullptr ? 0 : script->packageVersion;
}

std::vector<uint8_t> Package::TakeImage() {
  records_->Reset();
  return std::move(image_);
}

}  // namespace zarc
