// A small UI driver for the end-to-end scenarios, run under the same Wine as setup.exe: finds
// top-level windows by caption, reads their controls, presses buttons. Texts in and out are UTF-8.
//
//   uidriver windows                    the captions of the visible top-level windows, one a line
//   uidriver wait CAPTION [SECONDS]     waits until a visible window has this caption (120 s unless
//                                       told: a loaded machine may take long to show one)
//   uidriver gone CAPTION [SECONDS]     waits until no window has it (as long)
//   uidriver controls CAPTION           one line per child: id, visible (1/0), class, text
//   uidriver text CAPTION ID            the text of one control (the message of a message box: 65535)
//   uidriver lines CAPTION ID           the number of lines an edit control shows its text in
//   uidriver progress CAPTION ID        the position of a progress bar
//   uidriver answers CAPTION            1 when the window's thread takes a message within 5 s (when
//                                       Windows would call it hung), or 0
//   uidriver queryend CAPTION           1 when the window lets a log-off end the session, 0 when it
//                                       refuses (WM_QUERYENDSESSION)
//   uidriver click CAPTION ID           presses the button ID (BM_CLICK)
//   uidriver command CAPTION ID         sends WM_COMMAND ID, as Esc (2) or a menu would
//   uidriver key CAPTION KEY            posts a key press to the focused control: enter, escape
//   uidriver close CAPTION              the close box (WM_SYSCOMMAND SC_CLOSE)
//   uidriver focus CAPTION              the id of the focused control, and 1 when Enter presses it
//                                       (it is the default button) or 0
//   uidriver select CAPTION PATH        makes a folder browser select PATH (BFFM_SETSELECTIONW)
//   uidriver treeitem CAPTION           the text of the selected item of the window's tree view
//   uidriver treechild CAPTION NAME     opens the selected item and selects its child named NAME
//   uidriver hold PATHS SECONDS [FILE]  holds the files (PATHS joined by |) open without sharing,
//                                       as a virus scanner might; says "held" once it does, lets
//                                       go of them in turn, each SECONDS after the one before, or
//                                       of all at once as soon as FILE exists
//   uidriver value KEY [NAME]           "value:" and the data of the registry value NAME of KEY
//                                       (HKEY_USERS\..., HKCU\...; a number as 0x...), or of the key
//                                       alone nothing more; "missing" when it is not there
// Exit status 0 on success, 1 when the window or control is not there, 2 for a wrong command line.
// The command line is read in UTF-16 (wmain): Wine hands a narrow main the system's code page.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <shlobj.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
  return out;
}

std::string Utf8(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring TextOf(HWND window) {
  std::vector<wchar_t> buffer(size_t(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  LRESULT n = SendMessageW(window, WM_GETTEXT, buffer.size(), LPARAM(buffer.data()));
  return std::wstring(buffer.data(), size_t(n));
}

struct Search {
  std::wstring caption;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  if (IsWindowVisible(window) && TextOf(window) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND Find(const std::wstring& caption) {
  Search search{caption, nullptr};
  EnumWindows(Match, LPARAM(&search));
  return search.found;
}

HWND WaitFor(const std::wstring& caption, double seconds) {
  for (DWORD start = GetTickCount();;) {
    if (HWND window = Find(caption)) {
      // A dialog shows before its controls are all made and its text is set; its thread answers
      // a message only once it is in the dialog's loop, with everything in place.
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
      return window;
    }
    if (GetTickCount() - start > DWORD(seconds * 1000)) return nullptr;
    Sleep(100);
  }
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t className[64];
  GetClassNameW(child, className, 64);
  std::wstring text = TextOf(child);
  for (wchar_t& c : text) {
    if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
  }
  printf("%d\t%d\t%s\t%s\n", GetDlgCtrlID(child), IsWindowVisible(child) ? 1 : 0,
         Utf8(className).c_str(), Utf8(text).c_str());
  return TRUE;
}

// Memory in the process that owns a window, for messages whose parameter points at data there.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, size_t size) : size_(size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_ != nullptr) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool ok() const { return address_ != nullptr; }
  void* address() const { return address_; }
  bool Write(const void* data, size_t size, size_t offset = 0) {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  bool Read(void* data, size_t size, size_t offset = 0) {
    return offset + size <= size_ &&
           ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

int SelectFolder(HWND browser, const std::wstring& path) {
  RemoteMemory text(browser, (path.size() + 1) * sizeof(wchar_t));
  if (!text.ok() || !text.Write(path.c_str(), (path.size() + 1) * sizeof(wchar_t))) return 1;
  SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, LPARAM(text.address()));
  return 0;
}

BOOL CALLBACK FindTree(HWND child, LPARAM param) {
  wchar_t className[64];
  GetClassNameW(child, className, 64);
  if (std::wstring(className) != WC_TREEVIEWW) return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

HWND TreeIn(HWND window) {
  HWND tree = nullptr;
  EnumChildWindows(window, FindTree, LPARAM(&tree));
  return tree;
}

// The text of a tree item; the tree lives in another process, so the request and the text go
// through memory there.
bool ItemText(HWND tree, HTREEITEM item, std::wstring* text) {
  constexpr int kChars = 260;
  RemoteMemory remote(tree, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
  TVITEMW request{};
  request.mask = TVIF_TEXT;
  request.hItem = item;
  request.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(TVITEMW));
  request.cchTextMax = kChars;
  if (!remote.ok() || !remote.Write(&request, sizeof request) ||
      !SendMessageW(tree, TVM_GETITEMW, 0, LPARAM(remote.address()))) {
    return false;
  }
  std::vector<wchar_t> buffer(kChars + 1, L'\0');
  if (!remote.Read(buffer.data(), kChars * sizeof(wchar_t), sizeof(TVITEMW))) return false;
  *text = buffer.data();
  return true;
}

int PrintTreeSelection(HWND window) {
  HWND tree = TreeIn(window);
  auto item = tree ? HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
  std::wstring text;
  if (item == nullptr || !ItemText(tree, item, &text)) return 1;
  printf("%s\n", Utf8(text).c_str());
  return 0;
}

int SelectTreeChild(HWND window, const std::wstring& name) {
  HWND tree = TreeIn(window);
  auto parent = tree ? HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
  if (parent == nullptr) return 1;
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, LPARAM(parent));
  auto child = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(parent)));
  for (; child != nullptr; child = HTREEITEM(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child)))) {
    std::wstring text;
    if (ItemText(tree, child, &text) && text == name) {
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(child));
      return 0;
    }
  }
  return 1;
}

int PrintFocus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || info.hwndFocus == nullptr ||
      !IsChild(window, info.hwndFocus)) {
    return 1;
  }
  LRESULT code = SendMessageW(info.hwndFocus, WM_GETDLGCODE, 0, 0);
  printf("%d %d\n", GetDlgCtrlID(info.hwndFocus), (code & DLGC_DEFPUSHBUTTON) != 0 ? 1 : 0);
  return 0;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  if (IsWindowVisible(window)) printf("%s\n", Utf8(TextOf(window)).c_str());
  return TRUE;
}

// For bench/peer: presses the first button of the dialog window, then prints the seconds until the
// main window shows its progress bar (the busy layout) and from then until the message box
// "SETUP" opens, the wait a user sees. Polls every millisecond; 1 after two minutes without them
// or when no "SETUP" box follows.
int Stopwatch(HWND dialog, const std::wstring& mainCaption) {
  HWND main = Find(mainCaption);
  HWND bar = main != nullptr ? GetDlgItem(main, 1015) : nullptr;
  if (bar == nullptr) return 1;
  LARGE_INTEGER frequency, pressed, busy, done;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&pressed);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
  const DWORD start = GetTickCount();
  auto waited = [&] { return GetTickCount() - start > 120000; };
  while (!IsWindowVisible(bar)) {
    if (waited()) return 1;
    Sleep(1);
  }
  QueryPerformanceCounter(&busy);
  // The message box, owned by the main window, disables it: one cheap question per poll, where
  // looking for the box by name would load the wineserver that the install needs.
  while (IsWindowEnabled(main)) {
    if (waited()) return 1;
    Sleep(1);
  }
  QueryPerformanceCounter(&done);
  if (WaitFor(L"SETUP", 5) == nullptr) return 1;
  const double unit = double(frequency.QuadPart);
  printf("%.4f %.4f\n", double(busy.QuadPart - pressed.QuadPart) / unit, double(done.QuadPart - busy.QuadPart) / unit);
  return 0;
}

// A line whether the value is there or not: a wine that could not start at all, as happens on a
// loaded machine, prints none, and must not read as a missing value.
int PrintRegistryValue(const std::wstring& path, const char* name) {
  struct Root {
    const wchar_t* prefix;
    HKEY key;
  };
  const Root roots[] = {{L"HKEY_USERS\\", HKEY_USERS},
                        {L"HKCU\\", HKEY_CURRENT_USER},
                        {L"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER},
                        {L"HKLM\\", HKEY_LOCAL_MACHINE},
                        {L"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE}};
  for (const Root& root : roots) {
    const size_t length = wcslen(root.prefix);
    if (_wcsnicmp(path.c_str(), root.prefix, length) != 0) continue;
    HKEY key;
    LONG result = RegOpenKeyExW(root.key, path.c_str() + length, 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_SUCCESS && name != nullptr) {
      const std::wstring valueName = Wide(name);
      DWORD type = 0, size = 0;
      result = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
      std::vector<BYTE> data(size + sizeof(wchar_t), 0);
      if (result == ERROR_SUCCESS) result = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size);
      if (result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number;
        memcpy(&number, data.data(), sizeof number);
        printf("value:0x%lx\n", static_cast<unsigned long>(number));
      } else if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        printf("value:%s\n", Utf8(reinterpret_cast<const wchar_t*>(data.data())).c_str());
      } else if (result == ERROR_SUCCESS) {
        printf("value:(type %lu)\n", static_cast<unsigned long>(type));
      }
    } else if (result == ERROR_SUCCESS) {
      printf("value:\n");
    }
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND) printf("missing\n");
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? 0 : 1;
  }
  return 2;
}

// Holds each file of paths (joined by '|') without sharing, then lets go of them in turn, each
// seconds after the one before, or of all at once when the file release exists. A run that copies
// them in that order meets each only once the one before is let go, so it never waits on one
// longer than seconds, however long the holds last together.
int Hold(const std::wstring& paths, double seconds, const std::wstring& release) {
  std::vector<HANDLE> files;
  for (size_t start = 0; start <= paths.size();) {
    size_t end = paths.find(L'|', start);
    if (end == std::wstring::npos) end = paths.size();
    HANDLE file = CreateFileW(paths.substr(start, end - start).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      for (HANDLE held : files) CloseHandle(held);
      return 1;
    }
    files.push_back(file);
    start = end + 1;
  }
  printf("held\n");
  fflush(stdout);
  size_t next = 0;
  for (DWORD since = GetTickCount(); next < files.size(); Sleep(20)) {
    if (!release.empty() && GetFileAttributesW(release.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    if (GetTickCount() - since >= DWORD(seconds * 1000)) {
      CloseHandle(files[next++]);
      since = GetTickCount();
    }
  }
  while (next < files.size()) CloseHandle(files[next++]);
  return 0;
}

int Usage() {
  fprintf(stderr,
          "usage: uidriver windows | uidriver VERB CAPTION [ARG]\n"
          "verbs: wait gone controls text lines progress answers click command key close focus select treeitem "
          "treechild hold value\n"
          "       stopwatch DIALOG MAIN\n");
  return 2;
}

}  // namespace

int Main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "windows") {
    EnumWindows(PrintWindow, 0);
    return 0;
  }
  if (argc < 3) return Usage();
  const std::string verb = argv[1];
  const std::wstring caption = Wide(argv[2]);
  const char* arg = argc > 3 ? argv[3] : nullptr;

  const double seconds = arg ? atof(arg) : 120;
  if (verb == "wait") {
    if (WaitFor(caption, seconds)) return 0;
    fprintf(stderr, "uidriver: no window \"%s\" within %g s\n", argv[2], seconds);
    return 1;
  }
  if (verb == "gone") {
    for (DWORD start = GetTickCount(); Find(caption);) {
      if (GetTickCount() - start > DWORD(seconds * 1000)) {
        fprintf(stderr, "uidriver: window \"%s\" still there after %g s\n", argv[2], seconds);
        return 1;
      }
      Sleep(100);
    }
    return 0;
  }
  if (verb == "value") return PrintRegistryValue(caption, arg);
  if (verb == "hold" && arg != nullptr) return Hold(caption, seconds, argc > 4 ? Wide(argv[4]) : std::wstring());

  HWND window = WaitFor(caption, 5);
  if (window == nullptr) {
    fprintf(stderr, "uidriver: no window \"%s\"\n", argv[2]);
    return 1;
  }
  if (verb == "controls") {
    EnumChildWindows(window, PrintChild, 0);
    return 0;
  }
  if (verb == "close") {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  if (verb == "answers") {
    DWORD_PTR result = 0;
    printf("%d\n", SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0 ? 1 : 0);
    return 0;
  }
  if (verb == "queryend") {
    // As Windows asks every top-level window at a log-off: 1 when it lets the session end.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &result)) {
      return 1;
    }
    printf("%d\n", result != 0 ? 1 : 0);
    return 0;
  }
  if (verb == "treeitem") return PrintTreeSelection(window);
  if (verb == "focus") return PrintFocus(window);
  if (arg == nullptr) return Usage();
  if (verb == "select") return SelectFolder(window, Wide(arg));
  if (verb == "stopwatch") return Stopwatch(window, Wide(arg));
  if (verb == "treechild") return SelectTreeChild(window, Wide(arg));
  if (verb == "key") {
    WPARAM key = std::string(arg) == "enter" ? VK_RETURN : VK_ESCAPE;
    SetForegroundWindow(window);
    HWND focus = window;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) focus = info.hwndFocus;
    PostMessageW(focus, WM_KEYDOWN, key, 0);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    return 0;
  }
  const int id = atoi(arg);
  if (verb == "command") {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return 0;
  }
  HWND control = GetDlgItem(window, id);
  if (control == nullptr) {
    fprintf(stderr, "uidriver: \"%s\" has no control %d\n", argv[2], id);
    return 1;
  }
  if (verb == "text") {
    printf("%s\n", Utf8(TextOf(control)).c_str());
    return 0;
  }
  if (verb == "progress") {
    printf("%d\n", int(SendMessageW(control, PBM_GETPOS, 0, 0)));
    return 0;
  }
  if (verb == "lines") {
    printf("%d\n", int(SendMessageW(control, EM_GETLINECOUNT, 0, 0)));
    return 0;
  }
  if (verb == "click") {
    PostMessageW(control, BM_CLICK, 0, 0);
    return 0;
  }
  return Usage();
}

int wmain(int argc, wchar_t** wideArgv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" stays "\n" for the shell that reads it
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8(wideArgv[i]));
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  return Main(argc, argv.data());
}
