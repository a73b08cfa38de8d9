#include "fakes/fake_file_system.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace setup::testing {

namespace {

std::string ParentOf(const std::string& path) {
  size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

class FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(std::recursive_mutex& mutex, std::vector<uint8_t>* target) : mutex_(mutex), target_(target) {}
  bool Write(const void* data, uint32_t size) override {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (target_->size() < position_ + size) target_->resize(position_ + size);
    std::copy(bytes, bytes + size, target_->begin() + position_);
    position_ += size;
    return true;
  }
  bool Seek(uint64_t offset) override {
    position_ = size_t(offset);
    return true;
  }
  uint64_t Position() override { return position_; }
  bool Close(bool) override { return true; }

 private:
  std::recursive_mutex& mutex_;
  std::vector<uint8_t>* target_;
  size_t position_ = 0;
};

std::string FakeFileSystem::Resolve(const std::string& path) const {
  std::string full = path.size() >= 2 && path[1] == ':' ? path : current_ + "\\" + path;
  // "C:\\dir\\" names the same folder as "C:\\dir", as on Windows.
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

void FakeFileSystem::AddFile(const std::string& path, std::vector<uint8_t> bytes) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  std::string full = Resolve(path);
  // Once per name: a file removed and made again is listed once.
  if (std::find(order_.begin(), order_.end(), full) == order_.end()) order_.push_back(full);
  files_[full] = std::move(bytes);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& text) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  AddFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  std::string full = Resolve(path);
  if (std::find(folders_.begin(), folders_.end(), full) == folders_.end()) folders_.push_back(full);
}

const std::vector<uint8_t>& FakeFileSystem::Contents(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  return files_.at(Resolve(path));
}

bool FakeFileSystem::ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  std::string full = Resolve(path);
  reads_.push_back(full);
  auto it = files_.find(full);
  if (it == files_.end()) return false;
  *size = uint32_t(it->second.size());
  *data = new (std::nothrow) uint8_t[*size];
  if (*size != 0) memcpy(*data, it->second.data(), *size);
  return true;
}

bool FakeFileSystem::HeldByAnother(const char* path) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ++calls_;
  auto it = heldFiles.find(Resolve(path));
  if (it == heldFiles.end() || it->second == 0 || files_.count(it->first) == 0) return false;
  if (it->second > 0) --it->second;
  return true;
}

bool FakeFileSystem::FileSize(const char* path, uint64_t* size) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  auto it = files_.find(Resolve(path));
  if (it == files_.end()) return false;
  *size = it->second.size();
  return true;
}

bool FakeFileSystem::ListFolder(const char* folder, FolderVisitor& visitor) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  std::string full = Resolve(folder);
  if (std::find(folders_.begin(), folders_.end(), full) == folders_.end()) return false;
  // Taken before the first visit: a visitor may change the folder (a tree copied into itself).
  std::vector<std::pair<std::string, bool>> items;
  for (const std::string& sub : folders_) {
    if (ParentOf(sub) == full) items.emplace_back(sub.substr(full.size() + 1), true);
  }
  for (const std::string& file : order_) {
    if (files_.count(file) != 0 && ParentOf(file) == full) items.emplace_back(file.substr(full.size() + 1), false);
  }
  for (const auto& [name, isFolder] : items) {
    if (!visitor.Visit({name.c_str(), isFolder})) break;
  }
  return true;
}

bool FakeFileSystem::CurrentFolder(char* buffer, uint32_t capacity) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  if (current_.size() + 1 > capacity) return false;
  memcpy(buffer, current_.c_str(), current_.size() + 1);
  return true;
}

bool FakeFileSystem::ChangeFolder(const char* path) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  std::string full = Resolve(path);
  if (std::find(folders_.begin(), folders_.end(), full) == folders_.end()) return false;
  current_ = full;
  return true;
}

bool FakeFileSystem::FolderExists(const std::string& full) const {
  // A drive ("C:") is always there.
  return full.size() == 2 || std::find(folders_.begin(), folders_.end(), full) != folders_.end();
}

bool FakeFileSystem::MakeFolder(const char* path) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  std::string full = Resolve(path);
  if (FolderExists(full) || !FolderExists(ParentOf(full))) return false;
  folders_.push_back(full);
  return true;
}

bool FakeFileSystem::RemoveEmptyFolder(const char* path) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  std::string full = Resolve(path);
  auto it = std::find(folders_.begin(), folders_.end(), full);
  if (it == folders_.end()) return false;
  for (const std::string& folder : folders_) {
    if (ParentOf(folder) == full) return false;
  }
  for (const auto& file : files_) {
    if (ParentOf(file.first) == full) return false;
  }
  folders_.erase(it);
  return true;
}

bool FakeFileSystem::RemoveFile(const char* path) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  return files_.erase(Resolve(path)) != 0; }

std::unique_ptr<OutputFile> FakeFileSystem::OpenForWriting(const char* path, WriteMode mode) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  std::string full = Resolve(path);
  if (!FolderExists(ParentOf(full)) || (mode == WriteMode::kNew && files_.count(full) != 0)) return nullptr;
  AddFile(full, std::vector<uint8_t>());
  return std::make_unique<FakeOutputFile>(mutex_, &files_[full]);
}

bool FakeFileSystem::MoveOver(const char* from, const char* to) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  auto it = files_.find(Resolve(from));
  if (it == files_.end() || !FolderExists(ParentOf(Resolve(to)))) return false;
  std::vector<uint8_t> bytes = std::move(it->second);
  files_.erase(it);
  AddFile(to, std::move(bytes));
  return true;
}

bool FakeFileSystem::CopyFileOver(const char* source, const char* destination) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  auto it = files_.find(Resolve(source));
  if (it == files_.end() || Resolve(source) == Resolve(destination) ||
      !FolderExists(ParentOf(Resolve(destination)))) {
    return false;
  }
  AddFile(destination, it->second);
  return true;
}

bool FakeFileSystem::SetNormalAttributes(const char* path) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  return Has(path); }

bool FakeFileSystem::FreeBytes(const char* root, uint64_t* bytes) {
  std::lock_guard<std::recursive_mutex> held(mutex_);
  ++calls_;
  freeSpaceQueries.push_back(root);
  auto found = freeBytes.find(root);
  if (found == freeBytes.end()) return false;
  *bytes = found->second;
  return true;
}

}  // namespace setup::testing
