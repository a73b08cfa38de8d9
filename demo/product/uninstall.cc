// The demo product's uninstaller: points the user at the setup program, which removes everything.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // セットアッププログラムを起動し「アンインストール」を選んでください。
  MessageBoxW(nullptr,
              L"\u30bb\u30c3\u30c8\u30a2\u30c3\u30d7\u30d7\u30ed\u30b0\u30e9\u30e0\u3092\u8d77\u52d5\u3057"
              L"\u300c\u30a2\u30f3\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u300d\u3092\u9078\u3093\u3067"
              L"\u304f\u3060\u3055\u3044\u3002",
              L"Quillfen", MB_OK | MB_ICONINFORMATION);
  return 0;
}
