#include "fakes/faulty_file_system.h"

namespace setup::testing {

class FaultyFileSystem::File : public OutputFile {
 public:
  File(FaultyFileSystem* owner, std::unique_ptr<OutputFile> inner, std::string path)
      : owner_(owner), inner_(std::move(inner)), path_(std::move(path)) {}
  bool Write(const void* data, uint32_t size) override {
    if (!owner_->Step("Write", path_) || !inner_->Write(data, size)) return false;
    owner_->NoteUnsynced(path_, true);
    return true;
  }
  bool Seek(uint64_t offset) override { return owner_->Step("Seek", path_) && inner_->Seek(offset); }
  uint64_t Position() override { return inner_->Position(); }
  bool Close(bool sync) override {
    if (!owner_->Step("Close", path_)) {
      if (owner_->mode_ == Mode::kFail) inner_->Close(sync);  // a failed close still lets go
      return false;
    }
    if (!inner_->Close(sync)) return false;
    if (sync) owner_->NoteUnsynced(path_, false);
    return true;
  }

 private:
  FaultyFileSystem* owner_;
  std::unique_ptr<OutputFile> inner_;
  std::string path_;
};

bool FaultyFileSystem::faultedARemoval() const {
  const Call* call = faulted();
  return call != nullptr && (call->operation == "RemoveFile" || call->operation == "RemoveEmptyFolder");
}

std::unique_ptr<OutputFile> FaultyFileSystem::OpenForWriting(const char* path, WriteMode mode) {
  if (!Step("OpenForWriting", path)) return nullptr;
  auto file = inner_.OpenForWriting(path, mode);
  if (!file) return nullptr;
  NoteUnsynced(path, true);
  return std::make_unique<File>(this, std::move(file), path);
}

bool FaultyFileSystem::MoveOver(const char* from, const char* to) {
  if (!Step("MoveOver", to) || !inner_.MoveOver(from, to)) return false;
  std::lock_guard<std::mutex> held(mutex_);
  if (unsynced_.count(from) != 0) movedUnsyncedFile_ = true;
  return true;
}

void FaultyFileSystem::NoteUnsynced(const std::string& path, bool unsynced) {
  std::lock_guard<std::mutex> held(mutex_);
  if (unsynced) {
    unsynced_.insert(path);
  } else {
    unsynced_.erase(path);
  }
}

bool FaultyFileSystem::Step(const char* operation, const std::string& path) {
  std::lock_guard<std::mutex> held(mutex_);
  calls_.push_back({operation, path});
  if (crashed_) return false;
  if (steps() != faultStep_) return true;
  crashed_ = mode_ == Mode::kCrash;
  return false;
}

}  // namespace setup::testing
