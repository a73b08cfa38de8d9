// Writes a file so that it appears whole or not at all: the bytes go to a temporary file beside
// the target, which takes the target's place in one step at Commit. Until then the target is
// untouched, and a writer that ends without a successful Commit removes its temporary file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zarc {

class ReplacingFile {
 public:
  ReplacingFile(setup::FileSystem& files, std::string path);
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();

  // Creates the temporary file. Each step returns false once anything failed; failure() then says
  // what, in words for a message about the target.
  bool Open();
  bool Write(const uint8_t* data, uint32_t size);
  bool Write(const std::vector<uint8_t>& bytes);
  // Brings the data to stable storage and moves it over the target.
  bool Commit();

  const std::string& failure() const { return failure_; }
  const std::string& temporaryPath() const { return temporary_; }

 private:
  bool Fail(const char* why);

  setup::FileSystem& files_;
  std::string path_;
  std::string temporary_;
  std::unique_ptr<setup::OutputFile> output_;
  bool committed_ = false;
  std::string failure_;
};

}  // namespace zarc
