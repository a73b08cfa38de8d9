#include "ui/folder_browser.h"

#include <cstring>

#include "base/text.h"
#include "ui/free_space.h"

namespace setup {

namespace {

// A selected path, a blank, CR LF and the free-space text, for paths up to the longest a browser
// reports (MAX_PATH UTF-16 units can take twice as many code page 932 bytes).
constexpr size_t kStatusCapacity = 2 * kPathCapacity + 64;

}  // namespace

void FolderBrowser::Opened(FolderBrowserView& browser) {
  if (startFolder_ != nullptr && startFolder_[0] != '\0') browser.SelectFolder(startFolder_);
  char text[kPathCapacity];
  FormatRequirement(requiredMB_, text, sizeof text);
  browser.SetStatusText(text);
}

void FolderBrowser::SelectionChanged(FolderBrowserView& browser, const char* path) {
  if (path == nullptr) {
    browser.SetStatusText("");
    browser.EnableOk(false);
    return;
  }
  char text[kStatusCapacity];
  FormatFolderStatus(path, FreeSpaceMB(files_, path), text, sizeof text);
  browser.SetStatusText(text);
  browser.EnableOk(strlen(path) < kPathCapacity);
}

void FolderBrowser::OtherNotification(FolderBrowserView& browser) { browser.SetStatusText(""); }

void BrowseForFolder(FileSystem& files, Shell& shell, void* owner, const char* startFolder, int32_t requiredMB,
                     char* chosen) {
  FolderBrowser browser(files, startFolder, requiredMB);
  if (!shell.BrowseForFolder(owner, browser, chosen, kPathCapacity)) chosen[0] = '\0';
}

}  // namespace setup
