// Another program holding hotkeys: registers Alt plus each virtual-key code given (decimal), then
// shows a hidden window titled "e2e hotkey holder" and runs until it is closed.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i)
    if (!RegisterHotKey(nullptr, i, MOD_ALT, static_cast<UINT>(std::wcstoul(argv[i], nullptr, 10)))) return 2;
  // The window says the hotkeys are held; closing it ends the program.
  HWND w = CreateWindowExW(0, L"STATIC", L"e2e hotkey holder", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w) return 3;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CLOSE) break;
    DispatchMessageW(&msg);
  }
  return 0;
}
