// Exact conversions between the program's code page 932 text and the UTF-16 of the wide Win32 API.
// Windows is always called with explicit conversions, so that Japanese names are right whatever
// the system's own code page is.
#pragma once

#include <string>

namespace setup {

// Code page 932 text to UTF-16. False, with out empty, for bytes that are not valid code page 932.
bool ToWide(const char* text, std::wstring* out);

// UTF-16 to code page 932. False, with out empty, when a character has no exact code page 932
// form: no best-fit look-alike and no '?' ever stands in for it.
bool FromWide(const wchar_t* text, std::string* out);

}  // namespace setup
