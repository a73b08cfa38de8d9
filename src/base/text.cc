#include "base/text.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
// The C99-conforming vsnprintf over the system's own formatting, from the MinGW run-time.
extern "C" int __cdecl __ms_vsnprintf(char* buffer, size_t capacity, const char* format, va_list arguments);
#endif

namespace setup {

int FormatTextList(char* buffer, size_t capacity, const char* format, va_list arguments) {
#ifdef _WIN32
  return __ms_vsnprintf(buffer, capacity, format, arguments);
#else
  return vsnprintf(buffer, capacity, format, arguments);
#endif
}

int FormatText(char* buffer, size_t capacity, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = FormatTextList(buffer, capacity, format, arguments);
  va_end(arguments);
  return length;
}

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

namespace setup {

int32_t ParseDecimal(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value <= int64_t(INT32_MAX) + 1) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return int32_t(value);
}

}  // namespace setup
