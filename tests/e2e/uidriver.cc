// A small UI driver for the end-to-end scenarios, run under the same Wine as setup.exe: finds
// top-level windows by caption, reads their controls, presses buttons. Texts in and out are UTF-8.
//
//   uidriver wait CAPTION [SECONDS]     waits until a visible window has this caption
//   uidriver gone CAPTION [SECONDS]     waits until no window has it
//   uidriver controls CAPTION           one line per child: id, visible (1/0), class, text
//   uidriver text CAPTION ID            the text of one control (the message of a message box: 65535)
//   uidriver click CAPTION ID           presses the button ID (BM_CLICK)
//   uidriver command CAPTION ID         sends WM_COMMAND ID, as Esc (2) or a menu would
//   uidriver key CAPTION KEY            posts a key press to the focused control: enter, escape
//   uidriver close CAPTION              the close box (WM_SYSCOMMAND SC_CLOSE)
// Exit status 0 on success, 1 when the window or control is not there, 2 for a wrong command line.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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
  wchar_t buffer[8192];
  LRESULT n = SendMessageW(window, WM_GETTEXT, sizeof buffer / sizeof buffer[0], LPARAM(buffer));
  return std::wstring(buffer, size_t(n));
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
    if (HWND window = Find(caption)) return window;
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

int Usage() {
  fprintf(stderr, "usage: uidriver wait|gone|controls|text|click|command|key|close CAPTION [ARG]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" stays "\n" for the shell that reads it
  if (argc < 3) return Usage();
  const std::string verb = argv[1];
  const std::wstring caption = Wide(argv[2]);
  const char* arg = argc > 3 ? argv[3] : nullptr;

  if (verb == "wait") return WaitFor(caption, arg ? atof(arg) : 20) ? 0 : 1;
  if (verb == "gone") {
    for (DWORD start = GetTickCount(); Find(caption);) {
      if (GetTickCount() - start > DWORD((arg ? atof(arg) : 20) * 1000)) return 1;
      Sleep(100);
    }
    return 0;
  }

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
  if (arg == nullptr) return Usage();
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
  if (verb == "click") {
    PostMessageW(control, BM_CLICK, 0, 0);
    return 0;
  }
  return Usage();
}
