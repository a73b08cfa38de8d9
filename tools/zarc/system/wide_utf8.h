// UTF-16 as UTF-8 on Windows, where the console shows UTF-8 once the entry point has set it.
#pragma once

#include <cstddef>
#include <string>

namespace zarc {

// The length wide characters at text as UTF-8; false when Windows cannot convert them.
bool Utf8FromWide(const wchar_t* text, size_t length, std::string* utf8);

}  // namespace zarc
