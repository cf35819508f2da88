#include "driver/top_windows.h"

namespace tav::e2e {

namespace {
struct FindData {
  DWORD pid;
  std::wstring cls;
  bool visibleOnly;
  HWND found = nullptr;
};
}  // namespace

HWND FindTopWindow(DWORD pid, const std::wstring& cls, bool visibleOnly) {
  FindData d{pid, cls, visibleOnly};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* d = reinterpret_cast<FindData*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != d->pid) return TRUE;
        if (d->visibleOnly && !IsWindowVisible(w)) return TRUE;
        if (!d->cls.empty() && ClassName(w) != d->cls) return TRUE;
        d->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&d));
  return d.found;
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& cls, bool visibleOnly, std::chrono::milliseconds timeout) {
  HWND w = nullptr;
  WaitUntil([&] { return (w = FindTopWindow(pid, cls, visibleOnly)) != nullptr; }, timeout);
  return w;
}

HWND FindChild(HWND parent, const std::wstring& cls, int index) {
  HWND c = nullptr;
  for (int i = 0; i <= index; ++i) {
    c = FindWindowExW(parent, c, cls.c_str(), nullptr);
    if (!c) return nullptr;
  }
  return c;
}

HWND FocusOf(HWND topLevel) {
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  DWORD tid = GetWindowThreadProcessId(topLevel, nullptr);
  if (!GetGUIThreadInfo(tid, &gti)) return nullptr;
  return gti.hwndFocus;
}

std::pair<int, int> EditSelection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

std::wstring DescribeForeground() {
  HWND w = GetForegroundWindow();
  if (!w) return L"no foreground window";
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return L"class " + ClassName(w) + L" title \"" + WindowText(w) + L"\" process " + std::to_wstring(pid);
}

}  // namespace tav::e2e
