// An install-list entry's text as the engine reads it: split at its first comma, on a copy, so
// the list itself never changes.
#pragma once

#include <cstring>

#include "base/text.h"
#include "model/install_list.h"

namespace setup {

// Without a comma, second is null.
class SplitText {
 public:
  // False for a text without its NUL inside the field: nothing sensible can be made of it.
  bool Split(const InstallEntry& entry) {
    size_t length = BoundedLength(entry.text, kInstallTextCapacity);
    if (length == kInstallTextCapacity) return false;
    memcpy(text_, entry.text, length + 1);
    char* comma = strchr(text_, ',');
    second_ = nullptr;
    if (comma != nullptr) {
      *comma = '\0';
      second_ = comma + 1;
    }
    return true;
  }
  const char* first() const { return text_; }
  const char* second() const { return second_; }
  // The second part, or the whole text when there is no comma.
  const char* secondOrFirst() const { return second_ != nullptr ? second_ : text_; }

 private:
  char text_[kInstallTextCapacity];
  const char* second_ = nullptr;
};

// #Z: true when the entry's number, cut to 8 bits, is the option chosen.
inline bool OptionMatches(const char* number, uint8_t optionChoice) {
  return uint8_t(uint32_t(ParseDecimal(number)) & 0xFF) == optionChoice;
}

}  // namespace setup
