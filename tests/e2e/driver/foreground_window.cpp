#include "driver/foreground_window.h"

#include "driver/top_windows.h"
#include "driver/wait.h"

namespace tav::e2e {

namespace {
struct ForegroundStart {
  std::wstring title;
  bool desktopStandIn;
  HANDLE ready;
  HWND hwnd = nullptr;
};
constexpr wchar_t kDesktopStandIn[] = L"TavE2EDesktopStandIn";

// Alt+Esc as Windows handles it: this window to the bottom, the next one up activated (visible,
// enabled, neither a tool window nor topmost).
void PassForegroundOn(HWND self) {
  SetWindowPos(self, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    if (w == self || !IsWindowVisible(w) || !IsWindowEnabled(w) || (ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)))
      continue;
    SetForegroundWindow(w);
    return;
  }
}
DWORD WINAPI ForegroundThread(void* p) {
  auto* s = static_cast<ForegroundStart*>(p);
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_DESTROY) PostQuitMessage(0);
    if (m == WM_SETFOCUS || m == WM_APP) {
      if (HWND e = FindWindowExW(h, nullptr, L"EDIT", nullptr)) SetFocus(e);
      return 0;
    }
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  // A desktop stand-in has the class of the desktop's shell window, which the launcher looks for.
  wc.lpszClassName = s->desktopStandIn ? L"Progman" : L"TavE2EForeground";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, s->title.c_str(), WS_OVERLAPPEDWINDOW, 20, 20, 400, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24, w, nullptr, wc.hInstance,
                  nullptr);
  if (s->desktopStandIn) SetPropW(w, kDesktopStandIn, w);
  ShowWindow(w, SW_SHOW);
  s->hwnd = w;
  SetEvent(s->ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Whichever child has the focus: on Windows the system itself acts on Alt+Esc.
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_ESCAPE && GetPropW(w, kDesktopStandIn)) {
      PassForegroundOn(w);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
}  // namespace

ForegroundWindow::ForegroundWindow(const std::wstring& title, bool desktopStandIn) {
  ForegroundStart start{title, desktopStandIn, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  thread_ = CreateThread(nullptr, 0, &ForegroundThread, &start, 0, nullptr);
  WaitForSingleObject(start.ready, 5000);
  CloseHandle(start.ready);
  hwnd_ = start.hwnd;
  Activate();
}

ForegroundWindow::~ForegroundWindow() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (thread_) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
}

bool ForegroundWindow::Activate() {
  if (!hwnd_) return false;
  SetForegroundWindow(hwnd_);
  PostMessageW(hwnd_, WM_APP, 0, 0);  // focus into the edit box, on the window's thread
  HWND edit = FindWindowExW(hwnd_, nullptr, L"EDIT", nullptr);
  return WaitUntil([&] { return GetForegroundWindow() == hwnd_ && (!edit || FocusOf(hwnd_) == edit); },
                   std::chrono::seconds(3));
}

}  // namespace tav::e2e
