// The floor the launcher is measured against: the least a program can do and still be a resident
// input box. A hidden 240x64 popup with one edit box in the launcher's default face and size;
// Alt+<key> shows and focuses it, Esc clears and hides it. With --list it first lists the texts folder
// beside it into memory, as bare as a listing gets.
// With --drop it lets the listing go again (what stays is the platform's own residue).
// Built twice: bench_floor.exe, and bench_floor_v6.exe with the launcher's manifest, so its box
// is the same control (common controls 6) as the launcher's.
// With --run LINE, Enter in the box clears and hides it and starts LINE, as bare as a start gets.
// With --signal NAME it only sets the named event and ends: the program an Enter starts, telling
// the driver it has started.
// Usage: bench_floor.exe [--key VK] [--list [--drop]] [--run LINE] | --signal NAME
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "bare_listing.h"
#include "input_box_look_win32.h"
#include "settings.h"

namespace {

constexpr int kHotkeyId = 1;

std::vector<std::wstring> ListTexts() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe, n);
  folder.resize(folder.find_last_of(L'\\') + 1);
  return BareListing(folder + L"texts");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  UINT key = 'O';
  bool list = false, drop = false;
  std::wstring run;
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    if (a == L"--key" && i + 1 < argc) key = static_cast<UINT>(_wtoi(argv[++i]));
    if (a == L"--list") list = true;
    if (a == L"--drop") drop = true;
    if (a == L"--run" && i + 1 < argc) run = argv[++i];
    if (a == L"--signal" && i + 1 < argc) {
      if (HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[i + 1])) {
        SetEvent(started);
        CloseHandle(started);
      }
      return 0;
    }
  }
  LocalFree(argv);
  std::vector<std::wstring> names;  // held for the whole run, as a resident list would be
  if (list) names = ListTexts();
  if (drop) names = {};

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_DESTROY || m == WM_CLOSE) {
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = instance;
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  wc.lpszClassName = L"TavBenchFloor";
  RegisterClassExW(&wc);
  HWND form = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 392, 352, 240,
                              64, nullptr, nullptr, instance, nullptr);
  const UINT dpi = tav::WindowDpi(form);
  const RECT r = tav::InputBoxRect(dpi);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, form, nullptr, instance, nullptr);
  tav::InputBoxFontChoice choice;
  tav::UniqueFont font = tav::CreateInputBoxFont(choice, dpi);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  RegisterHotKey(form, kHotkeyId, MOD_ALT, key);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_HOTKEY && msg.wParam == kHotkeyId) {
      // For the driver: when the hotkey reached this thread, and when the foreground was ours
      // (performance counter values, the same clock in every process).
      LARGE_INTEGER q;
      QueryPerformanceCounter(&q);
      SetWindowLongPtrW(form, GWLP_USERDATA, static_cast<LONG_PTR>(q.QuadPart));
      ShowWindow(form, SW_SHOW);
      SetForegroundWindow(form);
      QueryPerformanceCounter(&q);
      SetWindowLongPtrW(edit, GWLP_USERDATA, static_cast<LONG_PTR>(q.QuadPart));
      SetFocus(edit);
      continue;
    }
    if (msg.message == WM_CHAR && msg.wParam == 13 && !run.empty()) {
      SetWindowTextW(edit, L"");
      ShowWindow(form, SW_HIDE);
      std::wstring line = run;
      STARTUPINFOW si{};
      si.cb = sizeof si;
      PROCESS_INFORMATION pi{};
      if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
      }
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      SetWindowTextW(edit, L"");
      ShowWindow(form, SW_HIDE);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  UnregisterHotKey(form, kHotkeyId);
  return 0;
}
