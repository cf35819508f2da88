// The notification-area icon.
#pragma once
#include <windows.h>
#include <shellapi.h>

namespace tav::Module1 {

inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;  // the event in the low word of lParam
inline constexpr UINT kTrayLeftUp = WM_LBUTTONUP;          // 514
inline constexpr UINT kTrayRightUp = WM_RBUTTONUP;         // 517

// The record: window, identifier 1, message + icon + tip, callback WM_MOUSEMOVE, empty tip.
NOTIFYICONDATAW MakeTrayData(HWND window, HICON icon);
BOOL AddTrayIcon(NOTIFYICONDATAW& data);
void RemoveTrayIcon(NOTIFYICONDATAW& data);

}  // namespace tav::Module1
