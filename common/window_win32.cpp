#include "window_win32.h"

#include <imm.h>

#include <algorithm>

#include "text_encoding.h"

namespace tav {

LRESULT CALLBACK Window::WindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    created->hwnd_ = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self) return DefWindowProcW(h, m, w, l);  // the few messages ahead of WM_NCCREATE
  return AnswerOrDefault(
      [&] {
        if (m == WM_COMMAND && self->OnCommand(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l))) return LRESULT{0};
        return self->HandleMessage(m, w, l);
      },
      [&] { return DefWindowProcW(h, m, w, l); });
}

UINT WindowDpi(HWND w) {
  if (w) {
    if (UINT dpi = GetDpiForWindow(w)) return dpi;
  }
  const UINT dpi = static_cast<UINT>(GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY));
  return dpi ? dpi : 96;
}

bool Window::Create(HINSTANCE instance, const Class& windowClass, DWORD exStyle, const wchar_t* caption, DWORD style,
                    int x, int y, int width, int height, HWND owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, windowClass.name, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    RegisterClassExW(&wc);
  }
  // WindowProc sets hwnd_ from WM_NCCREATE on; a creation that fails later leaves none.
  hwnd_ = CreateWindowExW(exStyle, windowClass.name, caption, style, x, y, width, height, owner, nullptr, instance, this);
  return hwnd_ != nullptr;
}

std::u16string WindowText(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(w, s.data(), n + 1);
  return U(s.c_str(), static_cast<std::size_t>(got > 0 ? got : 0));
}

bool IsClass(HWND w, const wchar_t* name) {
  wchar_t cls[64] = {};
  return GetClassNameW(w, cls, 64) > 0 && lstrcmpiW(cls, name) == 0;
}

void DisableInputMethod(HWND box) {
  if (!ImmAssociateContextEx(box, nullptr, 0)) ImmAssociateContext(box, nullptr);
}

bool ClickPushButton(HWND w) {
  const LONG_PTR type = GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK;
  if (!IsClass(w, L"Button") || (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) || !IsWindowEnabled(w))
    return false;
  SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED), reinterpret_cast<LPARAM>(w));
  return true;
}

RECT WorkAreaOf(HWND w, const RECT* target) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(target ? MonitorFromRect(target, MONITOR_DEFAULTTONEAREST)
                         : MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY),
                  &mi);
  return mi.rcWork;
}

void PlaceInWorkArea(HWND w, const RECT& work, SIZE frame, SIZE client, const RECT* target, bool fitHeight) {
  const int workW = work.right - work.left, workH = work.bottom - work.top;
  int width = std::min<int>(frame.cx, workW), height = std::min<int>(frame.cy, workH);
  auto place = [&](int x, int y) {
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(w, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(target ? target->left : work.left + (workW - width) / 2, target ? target->top : work.top + (workH - height) / 2);
  // Wine draws the frame at the system DPI whatever the window's: size by what the client got.
  RECT got;
  GetClientRect(w, &got);
  if (got.right != client.cx || (fitHeight && got.bottom != client.cy)) {
    width = std::min<int>(width + client.cx - got.right, workW);
    if (fitHeight) height = std::min<int>(height + client.cy - got.bottom, workH);
    RECT now;
    GetWindowRect(w, &now);
    place(now.left, now.top);
  }
}

HWND PromptOwner(HWND foreground, HWND own, HWND handedTo) {
  auto fits = [own](HWND w) { return w && w != own && IsWindow(w) && IsWindowVisible(w); };
  if (fits(foreground)) return foreground;
  if (fits(handedTo)) return handedTo;
  HWND shell = GetShellWindow();
  return fits(shell) ? shell : nullptr;
}

StartedProcess CreateProcessShownNormally(const wchar_t* program, const std::u16string& commandLine, DWORD flags,
                            void* environment, const wchar_t* folder) {
  // CreateProcessW may write into the line it is given.
  std::wstring line(reinterpret_cast<const wchar_t*>(commandLine.c_str()), commandLine.size());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  StartedProcess started;
  if (!CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, flags, environment, folder, &si, &pi)) {
    started.error = GetLastError();
    return started;
  }
  started.process.reset(pi.hProcess);
  started.thread.reset(pi.hThread);
  return started;
}

}  // namespace tav
