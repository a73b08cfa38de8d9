#include "platform/replacing_file.h"

#include "base/text.h"

namespace setup {

ReplacingFile::~ReplacingFile() {
  if (file_ != nullptr) Discard();
}

OutputFile* ReplacingFile::Create(const char* suffix) {
  for (int i = 0; i < kTemporaryNames; ++i) {
    const int length = FormatText(beside_, capacity_, "%s%s%d", target_, suffix, i);
    if (length < 0 || size_t(length) >= capacity_) break;
    file_ = files_.OpenForWriting(beside_, WriteMode::kReplace).release();
    if (file_ != nullptr) return file_;
  }
  beside_[0] = '\0';
  return nullptr;
}

bool ReplacingFile::Close(bool written, bool sync) {
  if (!written || !file_->Close(sync)) {
    Discard();
    return false;
  }
  delete file_;
  file_ = nullptr;
  return true;
}

void ReplacingFile::Discard() {
  delete file_;  // closed first: an open file cannot be removed everywhere
  file_ = nullptr;
  if (beside_[0] != '\0') files_.RemoveFile(beside_);
  beside_[0] = '\0';
}

bool PlaceBeside(FileSystem& files, char* beside, const char* target) {
  const bool placed = files.MoveOver(beside, target);
  if (!placed) files.RemoveFile(beside);
  beside[0] = '\0';
  return placed;
}

}  // namespace setup
