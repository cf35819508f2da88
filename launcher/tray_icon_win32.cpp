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

}  // namespace tav::Module1
