// Paths as Windows resolves them before it looks a name up, for the questions the install engine
// and zarc's check both ask of the paths of one run: which folder a path is in, and whether two
// paths may name one file. Both sides ask them here, so that they agree. Nothing is allocated.
#pragma once

#include "base/text.h"

namespace setup {

// Puts path at out as Windows resolves it: '\' and '/' both separate (never a trail byte), a run of
// them counts as one, "." names drop out and ".." takes the name before it away, trailing dots and
// spaces go, and letters fold as names compare (FoldCp932Character). The form is the names joined
// by one '\', the root's first: a drive ("C:"), or a UNC path's "\\" with its server and share. A
// relative path keeps its first name as its root, so compare it only with paths relative to the
// same folder, and a full path only with full ones.
//
// Win32 takes every trailing dot and space off the last name and a single dot off the others;
// taking them off every name, as here, can only make paths the same that Windows may still keep
// apart, the side every question below errs on. For the same reason a double-byte character that
// code page 932 spells twice (the NEC and IBM rows, and the symbols they repeat) becomes one
// wildcard, so names that differ only there come out the same.
//
// False when the path is not certain to resolve so: a cut character (a lead byte before the NUL),
// a name of dots alone, ".." at the root, a short "~" name, a ':' past a drive letter, a device
// path ("\\?\", "\\.\"), which reaches the system as written; or when it does not fit. Such a path
// may be any file.
bool ResolveWindowsPath(const char* path, char (&out)[kPathCapacity]);

// The folder path is in, resolved as above, at out. False when that is not certain, and for a
// root (a drive, a UNC path's server and share) or a relative path of one name, which have none.
bool WindowsFolderOf(const char* path, char (&out)[kPathCapacity]);

// True when Windows may take a and b for one file: they resolve the same, or either is uncertain.
bool MayBeSameWindowsFile(const char* a, const char* b);

// True when a and b may be one file or one path may begin the other: a file and a new one made
// beside it under a longer name, a folder and a file in it. As above, uncertain paths overlap.
bool MayWindowsPathsOverlap(const char* a, const char* b);

}  // namespace setup
