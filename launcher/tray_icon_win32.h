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
// Whether a WM_MOUSEMOVE is the icon's callback rather than the pointer moving over the window
// (at 225 % scale and above the window is 540 px or wider, so a real move can carry x = 514 or
// 517 on its top row). The shell's callback carries the icon's identifier in wParam and the event
// in the low word of lParam; a real move carries the key state and the point in the client area
// where the message's pointer position (pointerInClient, from GetMessagePos) lies.
bool IsIconCallback(WPARAM wParam, LPARAM lParam, POINT pointerInClient);
BOOL AddTrayIcon(NOTIFYICONDATAW& data);
// What lets the restarted shell's "TaskbarCreated" through to an elevated launcher: the system's
// ChangeWindowMessageFilterEx, or in a test a stand-in that records.
using MessageFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
extern MessageFilter taskbarMessageFilter;
void RemoveTrayIcon(NOTIFYICONDATAW& data);
// Gives the keyboard focus back to the notification area once the icon's menu has closed.
void ReturnFocus(const NOTIFYICONDATAW& data);
// A balloon from the icon (the record itself is left as it is: it is the one deleted at exit);
// false when the shell did not take it (no icon yet).
bool ShowBalloon(const NOTIFYICONDATAW& data, const wchar_t* title, const wchar_t* text);
// The icon's tip, kept in the record too, so the icon added again carries it.
void SetTip(NOTIFYICONDATAW& data, const wchar_t* tip);

}  // namespace tav::Module1
