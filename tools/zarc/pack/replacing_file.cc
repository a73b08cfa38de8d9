#include "zarc/pack/replacing_file.h"

#include <utility>

namespace zarc {

namespace {
constexpr char kSuffix[] = ".zarc-tmp";
}  // namespace

ReplacingFile::ReplacingFile(setup::FileSystem& files, std::string path)
    : path_(std::move(path)),
      beside_(path_.size() + sizeof kSuffix + 1),
      file_(files, path_.c_str(), beside_.data(), beside_.size()) {}

bool ReplacingFile::Fail(const char* why) {
  if (failure_.empty()) failure_ = why;
  return false;
}

bool ReplacingFile::Open() {
  if (file_.Create(kSuffix) == nullptr) return Fail("cannot create a temporary file beside it");
  return true;
}

bool ReplacingFile::Write(const uint8_t* data, uint32_t size) {
  if (file_.file() == nullptr || !failure_.empty()) return Fail("not open for writing");
  if (size > 0 && !file_.file()->Write(data, size)) return Fail("cannot write it (is the disk full?)");
  return true;
}

bool ReplacingFile::Write(const std::vector<uint8_t>& bytes) {
  // Callers keep every file under 4 GiB, so one vector always fits a 32-bit write.
  return Write(bytes.data(), uint32_t(bytes.size()));
}

bool ReplacingFile::Commit() {
  if (file_.file() == nullptr || !failure_.empty()) return Fail("not open for writing");
  if (!file_.Finish(true)) return Fail("cannot finish writing it (is the disk full?)");
  if (!file_.Place()) return Fail("cannot replace it");
  return true;
}

}  // namespace zarc
