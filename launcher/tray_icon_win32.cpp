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

BOOL AddTrayIcon(NOTIFYICONDATAW& data) { return Shell_NotifyIconW(NIM_ADD, &data); }

void RemoveTrayIcon(NOTIFYICONDATAW& data) { Shell_NotifyIconW(NIM_DELETE, &data); }

}  // namespace tav::Module1
