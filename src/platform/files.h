// Two steps that several layers take over the FileSystem interface, written once: asking whether
// a file is there, and making the new file that is later moved over an old one.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/file_system.h"

namespace setup {

// True when path names a file that can be opened.
bool FileExists(FileSystem& files, const char* path);

// A file that replaces another is written beside it first and then moved over it in one step, so
// the old one stays whole until the new one is complete. A name left by a crashed run must not
// block the next one, so this many names are tried: path + suffix, then + "1" to "9".
constexpr int kTemporaryNames = 10;

// Creates a new, empty file beside path under the first of those names that is free, and writes
// the name used into temporary[capacity]. Null, with temporary empty, when none could be made or
// a name does not fit.
std::unique_ptr<OutputFile> CreateFileBeside(FileSystem& files, const char* path, const char* suffix,
                                             char* temporary, size_t capacity);

}  // namespace setup
