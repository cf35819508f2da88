#include "driver/launcher_state.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "built_files.h"
#include "driver/top_windows.h"

namespace tav::e2e {

bool WaitForLauncherReady(HWND form, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  if (!WaitUntil([] { return GlobalFindAtomW(L"HOTKEY1") && GlobalFindAtomW(L"HOTKEY2"); }, timeout)) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_BLOCK, static_cast<UINT>(std::max<long long>(left.count(), 1000)),
                             &answer) != 0;
}

bool LauncherRunning() {
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\Tavimbra.Launcher.SingleInstance");
  if (m) CloseHandle(m);
  return m || GetLastError() == ERROR_ACCESS_DENIED;
}

bool IconExists(HWND form) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = form;
  nid.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

void RemoveLeftoverLauncherAtoms() {
  if (LauncherRunning()) return;  // they are its own
  for (const wchar_t* name : {L"HOTKEY1", L"HOTKEY2"})
    for (int i = 0; i < 100; ++i) {
      ATOM a = GlobalFindAtomW(name);
      if (!a) break;
      GlobalDeleteAtom(a);
    }
}

HeldHotkeys::HeldHotkeys(std::initializer_list<WORD> keys) {
  std::wstring args;
  for (WORD k : keys) args += (args.empty() ? L"" : L" ") + std::to_wstring(k);
  const fs::path holder = test::BuiltTestFile(L"e2e", L"hotkey_holder.exe");
  proc_ = Process(holder, args, holder.parent_path());
  WaitUntil([&] { return (window_ = FindTopWindow(proc_.Id(), L"Static")) != nullptr || !proc_.Running(); },
            kStartTimeout);
}

}  // namespace tav::e2e
