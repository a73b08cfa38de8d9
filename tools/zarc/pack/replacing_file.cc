#include "zarc/pack/replacing_file.h"

#include <utility>

#include "platform/files.h"

namespace zarc {

namespace {
constexpr char kSuffix[] = ".zarc-tmp";
}  // namespace

ReplacingFile::ReplacingFile(setup::FileSystem& files, std::string path)
    : files_(files), path_(std::move(path)) {}

ReplacingFile::~ReplacingFile() {
  if (committed_ || temporary_.empty()) return;
  if (output_) output_->Close(false);
  output_.reset();
  files_.RemoveFile(temporary_.c_str());
}

bool ReplacingFile::Fail(const char* why) {
  if (failure_.empty()) failure_ = why;
  return false;
}

bool ReplacingFile::Open() {
  std::vector<char> name(path_.size() + sizeof kSuffix + 1);
  output_ = setup::CreateFileBeside(files_, path_.c_str(), name.data(), name.size(), kSuffix);
  if (!output_) return Fail("cannot create a temporary file beside it");
  temporary_ = name.data();
  return true;
}

bool ReplacingFile::Write(const uint8_t* data, uint32_t size) {
  if (!output_ || !failure_.empty()) return Fail("not open for writing");
  if (size > 0 && !output_->Write(data, size)) return Fail("cannot write it (is the disk full?)");
  return true;
}

bool ReplacingFile::Write(const std::vector<uint8_t>& bytes) {
  // Callers keep every file under 4 GiB, so one vector always fits a 32-bit write.
  return Write(bytes.data(), uint32_t(bytes.size()));
}

bool ReplacingFile::Commit() {
  if (!output_ || !failure_.empty()) return Fail("not open for writing");
  const bool closed = output_->Close(true);
  output_.reset();
  if (!closed) return Fail("cannot finish writing it (is the disk full?)");
  if (!files_.MoveOver(temporary_.c_str(), path_.c_str())) return Fail("cannot replace it");
  committed_ = true;
  return true;
}

}  // namespace zarc
