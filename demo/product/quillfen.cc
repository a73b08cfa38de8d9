// The demo product: shows its version, whether its saved data is beside it, and the folder it
// runs in.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L'\\') + 1);
  const bool hasData = GetFileAttributesW((folder + L"zimel.dat").c_str()) != INVALID_FILE_ATTRIBUTES;
  std::wstring text = L"Quillfen 5\n\n\u4fdd\u5b58\u30c7\u30fc\u30bf zimel.dat: ";  // 保存データ
  text += hasData ? L"\u3042\u308a" : L"\u306a\u3057";                                // あり / なし
  wchar_t current[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, current);
  text += L"\n" + folder + L"\n" + current;
  MessageBoxW(nullptr, text.c_str(), L"Quillfen 5", MB_OK | MB_ICONINFORMATION);
  return 0;
}
