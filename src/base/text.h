// Bounded text helpers for the fixed 260-byte fields. Text is code page 932 bytes.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "base/cp932.h"

namespace setup {

constexpr size_t kPathCapacity = 260;  // MAX_PATH: at most 259 bytes and the NUL

// Copies src into dst[capacity] with its NUL. False, and dst left empty, when src does not fit.
bool CopyText(char* dst, size_t capacity, const char* src);

// strnlen, which the system's C library on Windows lacks.
size_t BoundedLength(const char* text, size_t limit);

// Copies at most maxLength bytes of src and a NUL into dst (capacity must exceed maxLength).
void CopyTextCut(char* dst, const char* src, size_t maxLength);

// snprintf and vsnprintf: at most capacity bytes with the NUL, the full length returned. On
// Windows they format through the system's C library rather than the larger copy that the MinGW
// headers impose on C++.
int FormatText(char* buffer, size_t capacity, const char* format, ...) __attribute__((format(printf, 3, 4)));
int FormatTextList(char* buffer, size_t capacity, const char* format, va_list arguments);

// Index of the last '\' of text that is a separator (not the trail byte of a double-byte character),
// or -1 when there is none.
long LastSeparator(const char* text);

}  // namespace setup

namespace setup {

// Reads a decimal number as the C library's atol does (leading white space, an optional sign, the
// digits up to the first other byte; none gives 0), clamped to the 32-bit range instead of
// overflowing.
int32_t ParseDecimal(const char* text);

}  // namespace setup
