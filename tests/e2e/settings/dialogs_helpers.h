// Message boxes of another process: find them, read them, answer them; and Tavimset started.
#pragma once
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "driver.h"

namespace tav::e2e {

// Tavimset started in inst, with its settings window (form nullptr when none appeared).
struct Running {
  Process process;
  HWND form = nullptr;
};

inline Running StartForm1(const Installation& inst) {
  Running r;
  r.process = inst.Start(L"Tavimset.exe");
  r.form = WaitForTopWindow(r.process.Id(), L"TavimsetForm1", true);
  return r;
}

// A visible standard dialog (message box) of the process, or nullptr after timeout.
inline HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  return WaitForTopWindow(pid, L"#32770", true, timeout);
}

// The message of a message box: the texts of its static controls that are not the icon.
inline std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassName(c) != L"Static") continue;
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    std::wstring t = WindowText(c);
    if (!t.empty()) text += t;
  }
  return text;
}

// The buttons a message box offers, by their identifiers (IDOK, IDYES, IDNO...).
inline bool HasButton(HWND box, int id) {
  HWND b = GetDlgItem(box, id);
  return b && IsWindowVisible(b);
}

// Answers the box as a click on the button would, and waits until it is gone.
inline bool AnswerMessageBox(HWND box, int id) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

// Edit box text of another process.
inline std::wstring ControlText(HWND top, int id) { return WindowText(GetDlgItem(top, id)); }

inline void SetControlText(HWND top, int id, const std::wstring& text) {
  SendMessageW(GetDlgItem(top, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A click on a push button, delivered the way the button reports one.
inline void ClickButton(HWND top, int id) {
  PostMessageW(top, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(top, id)));
}

// A screenshot to look at, when TAV_SHOTS names a folder for them.
inline void ShotIfWanted(const std::wstring& name) {
  wchar_t folder[MAX_PATH * 4];
  if (!GetEnvironmentVariableW(L"TAV_SHOTS", folder, MAX_PATH * 4)) return;
  Sleep(700);  // let the window finish painting
  SaveScreenshot(fs::path(folder) / name);
}

}  // namespace tav::e2e
