#include "base/path.h"

#include <cstdarg>
#include <cstring>

namespace setup {

bool FormatPath(char (&out)[kPathCapacity], const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int length = FormatTextList(out, kPathCapacity, format, arguments);
  va_end(arguments);
  if (length < 0 || size_t(length) >= kPathCapacity) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool IsFullPath(const char* path) {
  const char letter = char(path[0] | 0x20);
  return (letter >= 'a' && letter <= 'z' && path[1] == ':' && IsSeparator(path[2])) ||
         (IsSeparator(path[0]) && IsSeparator(path[1]));
}

bool EndsWithSeparator(const char* text) {
  size_t length = strlen(text);
  if (length == 0) return false;
  if (text[length - 1] == '/') return true;
  return LastSeparator(text) == long(length - 1);
}

}  // namespace setup
