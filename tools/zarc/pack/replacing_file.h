// The platform's replacing file (platform/replacing_file.h) for zarc's outputs: a host path of
// any length, zarc's own name for the file beside it, and what went wrong in words for a message
// about the target. Until Commit the target is untouched, and a writer that ends without a
// successful Commit leaves nothing beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/replacing_file.h"

namespace zarc {

class ReplacingFile {
 public:
  ReplacingFile(setup::FileSystem& files, std::string path);

  // Creates the file beside the target. Each step returns false once anything failed; failure()
  // then says what.
  bool Open();
  bool Write(const uint8_t* data, uint32_t size);
  bool Write(const std::vector<uint8_t>& bytes);
  // Brings the data to stable storage and moves it over the target.
  bool Commit();

  const std::string& failure() const { return failure_; }

 private:
  bool Fail(const char* why);

  std::string path_;
  std::vector<char> beside_;
  setup::ReplacingFile file_;
  std::string failure_;
};

}  // namespace zarc
