// The folder browser behind the install options dialog's "変更" button: it opens at a start
// folder with the space required in its status area, then shows each selected folder with the free
// space of its drive, and gives back the chosen folder.
#pragma once

#include <cstdint>

#include "platform/shell.h"

namespace setup {

class FileSystem;

// Decides what the browser shows; the platform's browser reports to it.
class FolderBrowser : public FolderBrowserEvents {
 public:
  // startFolder is selected when the browser opens (null or empty: none); it must outlive the
  // browser.
  FolderBrowser(FileSystem& files, const char* startFolder, int32_t requiredMB)
      : files_(files), startFolder_(startFolder), requiredMB_(requiredMB) {}

  // Selects the start folder, then puts the requirement line in the status area: the selection
  // that selecting reports must not be what stays shown.
  void Opened(FolderBrowserView& browser) override;
  // The folder and its free space; a selection the program cannot hold (no usable path, or one of
  // 260 bytes or more) clears the status and cannot be confirmed.
  void SelectionChanged(FolderBrowserView& browser, const char* path) override;
  void OtherNotification(FolderBrowserView& browser) override;

 private:
  FileSystem& files_;
  const char* startFolder_;
  int32_t requiredMB_;
};

// Runs the browser owned by owner from startFolder, with requiredMB in its status; afterwards
// chosen[kPathCapacity] holds the chosen folder, or "" when the user cancelled or no browser could
// be shown.
void BrowseForFolder(FileSystem& files, Shell& shell, void* owner, const char* startFolder, int32_t requiredMB,
                     char* chosen);

}  // namespace setup
