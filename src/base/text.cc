#include "base/text.h"

#include <cstdio>
#include <cstring>

namespace setup {

int FormatTextList(char* buffer, size_t capacity, const char* format, va_list arguments) {
#ifdef _WIN32
  // The system library's _vsnprintf leaves out the NUL when the text fills the buffer and gives
  // -1 when it does not fit; _vscprintf gives the full length.
  va_list again;
  va_copy(again, arguments);
  int length = capacity != 0 ? _vsnprintf(buffer, capacity, format, arguments) : -1;
  if (length < 0 || size_t(length) >= capacity) {
    if (capacity != 0) buffer[capacity - 1] = '\0';
    length = _vscprintf(format, again);
  }
  va_end(again);
  return length;
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

size_t BoundedLength(const char* text, size_t limit) {
  size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  return length;
}

void CopyTextCut(char* dst, const char* src, size_t maxLength) {
  size_t length = BoundedLength(src, maxLength);
  memcpy(dst, src, length);
  dst[length] = '\0';
}

long LastSeparator(const char* text) {
  long last = -1;
  for (const char* p = text; *p != '\0'; p = NextCp932Char(p)) {
    if (*p == '\\') last = long(p - text);
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
