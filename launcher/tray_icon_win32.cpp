#include "tray_icon_win32.h"

namespace tav::Module1 {

NOTIFYICONDATAW MakeTrayData(HWND window, HICON icon) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = window;
  d.hIcon = icon;
  d.uID = kTrayIconId;
  d.uCallbackMessage = kTrayCallbackMessage;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  return d;
}

bool IsIconCallback(WPARAM wParam, LPARAM lParam, POINT pointerInClient) {
  if (wParam != kTrayIconId || HIWORD(lParam) != 0) return false;
  // Key state MK_LBUTTON has the identifier's value: a move with the left button held, at x = 514
  // or 517 on the top row, is told by where the pointer was.
  const POINTS at = MAKEPOINTS(lParam);
  return !(at.x == pointerInClient.x && at.y == pointerInClient.y);
}

MessageFilter taskbarMessageFilter = ChangeWindowMessageFilterEx;

BOOL AddTrayIcon(NOTIFYICONDATAW& data) { return Shell_NotifyIconW(NIM_ADD, &data); }

void RemoveTrayIcon(NOTIFYICONDATAW& data) { Shell_NotifyIconW(NIM_DELETE, &data); }

namespace {
// The icon's identity alone: a call with only these changes nothing else of it.
NOTIFYICONDATAW IdentityOf(const NOTIFYICONDATAW& data) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = data.hWnd;
  d.uID = data.uID;
  return d;
}
}  // namespace

void ReturnFocus(const NOTIFYICONDATAW& data) {
  NOTIFYICONDATAW d = IdentityOf(data);
  Shell_NotifyIconW(NIM_SETFOCUS, &d);
}

void SetTip(NOTIFYICONDATAW& data, const wchar_t* tip) {
  lstrcpynW(data.szTip, tip, ARRAYSIZE(data.szTip));
  NOTIFYICONDATAW d = IdentityOf(data);
  d.uFlags = NIF_TIP;
  lstrcpynW(d.szTip, tip, ARRAYSIZE(d.szTip));
  Shell_NotifyIconW(NIM_MODIFY, &d);
}

bool ShowBalloon(const NOTIFYICONDATAW& data, const wchar_t* title, const wchar_t* text) {
  NOTIFYICONDATAW d = IdentityOf(data);
  d.uFlags = NIF_INFO;
  lstrcpynW(d.szInfoTitle, title, ARRAYSIZE(d.szInfoTitle));
  lstrcpynW(d.szInfo, text, ARRAYSIZE(d.szInfo));
  d.dwInfoFlags = NIIF_WARNING;
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

}  // namespace tav::Module1
