// Shortcut files (".lnk") in the Shell Link binary format, made without Windows, so that the host
// writes the same kind of file that the shell writes on Windows.
#pragma once

#include <cstdint>
#include <vector>

namespace setup {

// The bytes of a shortcut that opens target (a full path) in workingDirectory with showCommand.
// Both texts are code page 932. False, with out empty, if either is not valid code page 932 or is
// longer than 259 bytes.
bool BuildShortcutFile(const char* target, const char* workingDirectory, int showCommand,
                       std::vector<uint8_t>* out);

}  // namespace setup
