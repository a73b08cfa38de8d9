// Recursive removal of a folder with everything in it, for uninstall. It never touches anything
// outside the folder it is given, and refuses a path that could name more than one product's
// folder: empty, relative, a drive or share root, or holding empty, "." or ".." names.
#pragma once

namespace setup {

class FileSystem;

// Deletes every file and folder below path, dot folders included, then path itself. path should
// end with a separator; one is added when it does not. Files that cannot be deleted (read-only,
// in use) stay, and so does every folder above them.
void DeleteFolderTree(FileSystem& files, const char* path);

}  // namespace setup
