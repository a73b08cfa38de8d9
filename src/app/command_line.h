// The program's command line, code page 932, split as Windows splits it for programs: at blanks
// outside double quotes, the quotes taken away.
#pragma once

#include <cstddef>

namespace setup {

// The switch that names the uninstaller a copy was started by: only the uninstaller passes it.
constexpr char kOriginalSwitch[] = "/ORIGINAL=";

// The text after prefix (ASCII, compared ignoring case) of the first argument that begins with it,
// into value[capacity]. False when there is none or it does not fit.
bool FindSwitch(const char* commandLine, const char* prefix, char* value, size_t capacity);

}  // namespace setup
