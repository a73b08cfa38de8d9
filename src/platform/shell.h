// The shell as the core needs it: where the desktop and the start menu's programs live, shortcut
// files, opening a file with its program, and the folder browser. Abstract so that tests can stand
// in for it; paths are code page 932 text in Windows form, as in file_system.h.
#pragma once

#include <cstdint>

namespace setup {

enum class SpecialFolder {
  kDesktop,   // the user's desktop
  kPrograms,  // the Programs folder of the user's start menu
};

// Results in the form of the component object model's HRESULT: negative means failure.
constexpr int32_t kShellOk = 0;
constexpr int32_t kShellFailed = int32_t(0x80004005);            // E_FAIL
constexpr int32_t kShellInvalidArgument = int32_t(0x80070057);   // E_INVALIDARG

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL: how a shortcut opens its target

// The system's folder browser while it is open, as the core drives it.
class FolderBrowserView {
 public:
  // Selects the folder at path, as if the user had moved there (which reports a selection change).
  virtual void SelectFolder(const char* path) = 0;
  // The text of the browser's status area; two lines fit.
  virtual void SetStatusText(const char* text) = 0;
  // Allows or refuses confirming the current selection.
  virtual void EnableOk(bool enabled) = 0;

 protected:
  ~FolderBrowserView() = default;
};

// What the folder browser reports while it is open.
class FolderBrowserEvents {
 public:
  virtual void Opened(FolderBrowserView& browser) = 0;
  // path is the new selection's file-system path, or null when it has none that the program can
  // use (no file-system folder, or a name without a code page 932 form).
  virtual void SelectionChanged(FolderBrowserView& browser, const char* path) = 0;
  // Any other notification of the browser.
  virtual void OtherNotification(FolderBrowserView& browser) = 0;

 protected:
  ~FolderBrowserEvents() = default;
};

class Shell {
 public:
  virtual ~Shell() = default;

  // The path of a special folder into buffer[capacity] with its NUL. False, with buffer empty, if
  // the system cannot find it or it does not fit. owner is the window asking, or null.
  virtual bool SpecialFolderPath(void* owner, SpecialFolder folder, char* buffer, uint32_t capacity) = 0;

  // Makes the component object model usable on the calling thread. A result that is not negative
  // must be matched by one EndComponents on the same thread; a negative one must not.
  virtual int32_t BeginComponents() = 0;
  virtual void EndComponents() = 0;

  // Writes the shortcut file linkPath (replacing one there) that opens target in workingDirectory
  // with the show command given, with no description, arguments or icon. Needs BeginComponents on
  // this thread. Negative on failure, with no file written.
  virtual int32_t WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                                int showCommand) = 0;

  // Opens path with the program the system associates with it, owned by the window owner. False
  // if nothing could be started.
  virtual bool Open(void* owner, const char* path) = 0;

  // Runs the folder browser modally, owned by owner: file-system folders only, nothing below the
  // network domain level, with a status area; events hears of its opening and of each selection.
  // True with the chosen folder's path in buffer[capacity]. False, with buffer empty, when the user
  // cancelled, the browser could not be shown, or the path does not fit; a shell without a
  // browser keeps this.
  virtual bool BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) {
    if (capacity > 0) buffer[0] = '\0';
    return false;
  }
};

}  // namespace setup
