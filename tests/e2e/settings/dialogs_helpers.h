// Tavimset started, and the controls of its windows read and used as a user would.
#pragma once
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "driver.h"
#include "form1_controls.h"

namespace tav::e2e {

// Tavimset started in inst, with its settings window (form nullptr when none appeared).
struct Running {
  Process process;
  HWND form = nullptr;
};

inline Running StartForm1(const Installation& inst) {
  Running r;
  r.process = inst.Start(L"Tavimset.exe");
  r.form = WaitForTopWindow(r.process.Id(), settings::kForm1Class, true);
  return r;
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

}  // namespace tav::e2e
