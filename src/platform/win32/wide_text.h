// Exact conversions between the program's code page 932 text and the UTF-16 of the wide Win32 API.
// Windows is always called with explicit conversions, so that Japanese names are right whatever
// the system's own code page is.
#pragma once

#include <string>

#include "base/text_buffer.h"

namespace setup {

using WideText = TextBuffer<wchar_t>;
using NarrowText = TextBuffer<char>;

// Code page 932 text to UTF-16. False, with out empty, for bytes that are not valid code page 932.
bool ToWide(const char* text, WideText* out);

// Code page 932 text to be shown, never used as a name: each byte sequence without a code page 932
// meaning becomes one U+FFFD and the rest converts as usual. False, with out empty, only when memory
// runs out.
bool ToWideForDisplay(const char* text, WideText* out);

// UTF-16 to code page 932. False, with out empty, when a character has no exact code page 932
// form: no best-fit look-alike and no '?' ever stands in for it.
bool FromWide(const wchar_t* text, NarrowText* out);

// The same for the tools, which work in standard strings.
inline bool ToWide(const char* text, std::wstring* out) {
  WideText wide;
  const bool ok = ToWide(text, &wide);
  out->assign(wide.c_str(), wide.size());
  return ok;
}
inline bool FromWide(const wchar_t* text, std::string* out) {
  NarrowText narrow;
  const bool ok = FromWide(text, &narrow);
  out->assign(narrow.c_str(), narrow.size());
  return ok;
}

}  // namespace setup
