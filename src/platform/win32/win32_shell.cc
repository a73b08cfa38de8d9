#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>


#include "base/text.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace setup {

bool Win32Shell::SpecialFolderPath(void* owner, SpecialFolder folder, char* buffer, uint32_t capacity) {
  if (capacity > 0) buffer[0] = '\0';
  int id = folder == SpecialFolder::kDesktop ? CSIDL_DESKTOP : CSIDL_PROGRAMS;
  ScopedItemList list;
  if (FAILED(SHGetSpecialFolderLocation(static_cast<HWND>(owner), id, list.Receive())) || list.get() == nullptr) {
    return false;
  }
  wchar_t wide[MAX_PATH];
  NarrowText path;
  return SHGetPathFromIDListW(list.get(), wide) && FromWide(wide, &path) && !path.empty() &&
         CopyText(buffer, capacity, path.c_str());
}

int32_t Win32Shell::BeginComponents() { return ScopedComponents::Begin(); }

void Win32Shell::EndComponents() { ScopedComponents::End(); }

namespace {

// The shell-link class and the two interfaces used, defined here rather than taken from the
// system's GUID library, which would bring every GUID it holds into the program.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkInterface = {0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

int32_t Win32Shell::WriteShortcut(const char* linkPath, const char* target, const char* workingDirectory,
                                  int showCommand) {
  WideText wideLink, wideTarget, wideFolder;
  if (!ToWide(linkPath, &wideLink) || !ToWide(target, &wideTarget) || !ToWide(workingDirectory, &wideFolder)) {
    return E_INVALIDARG;
  }
  ScopedInterface<IShellLinkW> link;
  HRESULT result = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                    link.Receive());
  if (FAILED(result)) return result;
  ScopedInterface<IPersistFile> file;
  result = link->QueryInterface(kPersistFileInterface, file.Receive());
  if (FAILED(result)) return result;
  // A new shell-link object has no description, arguments or icon: only these three are set.
  link->SetPath(wideTarget.c_str());
  link->SetWorkingDirectory(wideFolder.c_str());
  link->SetShowCmd(showCommand);
  return file->Save(wideLink.c_str(), TRUE);
}

bool Win32Shell::Open(void* owner, const char* path) {
  WideText widePath;
  if (!ToWide(path, &widePath)) return false;
  HINSTANCE result = ShellExecuteW(static_cast<HWND>(owner), L"open", widePath.c_str(), nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;  // larger than 32 means started
}

namespace {

// The browser's controls. The status goes into 14146 where the browser shows that control; a
// browser that hides it (as one without a title may) shows it in its own status line, 14147.
constexpr int kBrowserTree = 14145;
constexpr int kBrowserStatusControls[] = {14146, 14147};

// The file-system path of a shell item in code page 932; false when it has none, or none that
// code page 932 can write.
bool PathOfItem(LPCITEMIDLIST item, NarrowText* path) {
  wchar_t wide[MAX_PATH];
  return item != nullptr && SHGetPathFromIDListW(item, wide) && FromWide(wide, path) && !path->empty();
}

// The control showing the browser's status, or null when none is shown. Its own style says so:
// while the browser opens, the browser itself is not visible yet.
HWND StatusControl(HWND browser) {
  for (int id : kBrowserStatusControls) {
    HWND control = GetDlgItem(browser, id);
    if (control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0) return control;
  }
  return nullptr;
}

// A control's rectangle in its dialog's client coordinates.
RECT PlaceOf(HWND control, HWND dialog) {
  RECT place;
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// The height of a line in a control's font; 0 if it cannot be measured.
int LineHeight(HWND control) {
  HDC dc = GetDC(control);
  if (dc == nullptr) return 0;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
  TEXTMETRICW metrics;
  int height = GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
  if (previous != nullptr) SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return height;
}

// Gives the status control room for the two lines of a selection's status, taken from the top of
// the tree below it; what lies between the two moves down with the tree. A browser laid out
// otherwise is left alone.
void FitStatusToTwoLines(HWND browser) {
  HWND status = StatusControl(browser);
  HWND tree = GetDlgItem(browser, kBrowserTree);
  if (status == nullptr || tree == nullptr) return;
  RECT statusPlace = PlaceOf(status, browser);
  RECT treePlace = PlaceOf(tree, browser);
  const int missing = 2 * LineHeight(status) - (statusPlace.bottom - statusPlace.top);
  const int treeHeight = treePlace.bottom - treePlace.top;
  if (missing <= 0 || treePlace.top < statusPlace.bottom || treeHeight < 4 * missing) return;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  for (HWND child = GetWindow(browser, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place = PlaceOf(child, browser);
    if (child != tree && place.top >= statusPlace.bottom && place.bottom <= treePlace.top) {
      SetWindowPos(child, nullptr, place.left, place.top + missing, 0, 0, flags | SWP_NOSIZE);
    }
  }
  SetWindowPos(status, nullptr, 0, 0, statusPlace.right - statusPlace.left,
               statusPlace.bottom - statusPlace.top + missing, flags | SWP_NOMOVE);
  SetWindowPos(tree, nullptr, treePlace.left, treePlace.top + missing, treePlace.right - treePlace.left,
               treeHeight - missing, flags);
}

// The open browser window as the core's FolderBrowserView.
class BrowserWindow : public FolderBrowserView {
 public:
  explicit BrowserWindow(HWND window) : window_(window) {}

  void SelectFolder(const char* path) override {
    WideText wide;
    if (ToWide(path, &wide)) SendMessageW(window_, BFFM_SETSELECTIONW, TRUE, LPARAM(wide.c_str()));
  }
  void SetStatusText(const char* text) override {
    WideText wide;
    ToWideForDisplay(text, &wide);
    HWND status = StatusControl(window_);
    if (status != nullptr) {
      SetWindowTextW(status, wide.c_str());
    } else {
      SendMessageW(window_, BFFM_SETSTATUSTEXTW, 0, LPARAM(wide.c_str()));
    }
  }
  void EnableOk(bool enabled) override { SendMessageW(window_, BFFM_ENABLEOK, 0, enabled ? TRUE : FALSE); }

 private:
  HWND window_;
};

// Forwards the browser's notifications to the core; data is the FolderBrowserEvents.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM param, LPARAM data) {
  FolderBrowserEvents& events = *reinterpret_cast<FolderBrowserEvents*>(data);
  BrowserWindow browser(window);
  switch (message) {
    case BFFM_INITIALIZED:
      FitStatusToTwoLines(window);
      events.Opened(browser);
      break;
    case BFFM_SELCHANGED: {
      NarrowText path;
      const bool usable = PathOfItem(reinterpret_cast<LPCITEMIDLIST>(param), &path);
      events.SelectionChanged(browser, usable ? path.c_str() : nullptr);
      break;
    }
    default:
      events.OtherNotification(browser);
      break;
  }
  return 0;
}

}  // namespace

bool Win32Shell::BrowseForFolder(void* owner, FolderBrowserEvents& events, char* buffer, uint32_t capacity) {
  if (capacity > 0) buffer[0] = '\0';
  ScopedComponents components;  // the browser needs them on its thread
  wchar_t displayName[MAX_PATH];
  BROWSEINFOW info = {};
  info.hwndOwner = static_cast<HWND>(owner);
  info.pidlRoot = nullptr;  // from the desktop
  info.pszDisplayName = displayName;
  info.lpszTitle = nullptr;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&events);
  ScopedItemList chosen;
  *chosen.Receive() = SHBrowseForFolderW(&info);
  NarrowText path;
  // A folder the program cannot name in code page 932, or hold, is no choice.
  return PathOfItem(chosen.get(), &path) && CopyText(buffer, capacity, path.c_str());
}

}  // namespace setup
