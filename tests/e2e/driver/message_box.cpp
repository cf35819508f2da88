#include "driver/message_box.h"

#include "driver/top_windows.h"
#include "driver/wait.h"

namespace tav::e2e {

HWND FindMessageBox(DWORD pid) { return FindTopWindow(pid, kMessageBoxClass, true); }

HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
  return WaitForTopWindow(pid, kMessageBoxClass, true, timeout);
}

std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassName(c) != L"Static") continue;
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    std::wstring t = WindowText(c);
    if (!t.empty()) text += t;
  }
  return text;
}

bool HasButton(HWND box, int id) {
  HWND b = GetDlgItem(box, id);
  return b && IsWindowVisible(b);
}

bool AnswerMessageBox(HWND box, int id) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

}  // namespace tav::e2e
