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
// the old one stays whole until the new one is complete. Its name is the path, this suffix and one
// digit: a pattern no user file carries, so a file of that name is what an earlier run left when
// it was killed, and is written over. The next replacement of the target thus takes it away, and
// leftovers never pile up to block one. Ten digits are tried, for a name that is held or read-only.
constexpr char kBesideSuffix[] = ".~zt";
constexpr size_t kBesideNameExtra = sizeof kBesideSuffix;  // the suffix and its digit
constexpr int kTemporaryNames = 10;

// Creates (or empties) the file beside path under the first of those names that can be opened,
// and writes the name used into temporary[capacity]. Null, with temporary empty, when none could
// be or a name does not fit. suffix is kBesideSuffix but for tools that keep their own pattern.
std::unique_ptr<OutputFile> CreateFileBeside(FileSystem& files, const char* path, char* temporary, size_t capacity,
                                             const char* suffix = kBesideSuffix);

}  // namespace setup
