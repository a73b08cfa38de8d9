#include "base/text.h"

#include <cstring>

namespace setup {

bool CopyText(char* dst, size_t capacity, const char* src) {
  size_t length = strlen(src);
  if (capacity == 0) return false;
  if (length >= capacity) {
    dst[0] = '\0';
    return false;
  }
  memcpy(dst, src, length + 1);
  return true;
}

void CopyTextCut(char* dst, const char* src, size_t maxLength) {
  size_t length = strnlen(src, maxLength);
  memcpy(dst, src, length);
  dst[length] = '\0';
}

long LastSeparator(const char* text) {
  long last = -1;
  for (long i = 0; text[i] != '\0'; ++i) {
    if (IsCp932LeadByte(uint8_t(text[i]))) {
      if (text[i + 1] == '\0') break;
      ++i;
    } else if (text[i] == '\\') {
      last = i;
    }
  }
  return last;
}

}  // namespace setup
