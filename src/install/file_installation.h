// Carrying out the install list into the install folder: package entries written out, folders
// made, files and folder trees copied, small files created, conditional entries honoured, and
// the main window's progress bar and percent text advanced with the bytes written.
#pragma once

#include "install/run_targets.h"

namespace setup {

class FileSystem;
class RunProgress;
class Threads;

// Carries out the plan's entries, in order, into its installDir, which is created first if
// needed. True when every entry was carried out or skipped; false at the first one that fails:
// a package entry that is missing, cannot be unpacked or written; a copy that fails; a new file
// that is already there or cannot be written; any path longer than 259 bytes. What was done before
// the failure stays. The entries are only read.
//
// With threads, package entries are unpacked and written by a pool of workers; every other action
// waits for the entries before it, and the progress advances in list order. A failed run leaves
// what one thread would: the entries before the failed one done, that one and every later one
// untouched. files must then be safe to call from several threads at once.
bool InstallFiles(FileSystem& files, RunProgress& progress, const RunPlan& plan, Threads* threads = nullptr);

// Creates destination (one level) and copies every file of the folder source into it, descending
// into sub-folders except those whose names begin with a dot. A source that cannot be listed
// copies nothing and is no failure. False at the first file that fails to copy or whose path
// would be longer than 259 bytes.
bool CopyFolderTree(FileSystem& files, RunProgress& progress, const char* destination, const char* source);

}  // namespace setup
