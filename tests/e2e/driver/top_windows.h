// Windows of other processes: found by process and class, read as a user or screen reader would.
#pragma once
#include <windows.h>

#include <chrono>
#include <string>
#include <utility>

#include "driver/wait.h"
#include "window_names.h"

namespace tav::e2e {

// Windows of a process (top-level), found by class name (or any class when cls is empty).
HWND FindTopWindow(DWORD pid, const std::wstring& cls = L"", bool visibleOnly = false);
HWND WaitForTopWindow(DWORD pid, const std::wstring& cls = L"", bool visibleOnly = false,
                      std::chrono::milliseconds timeout = kStartTimeout);
using test::ClassName;
using test::WindowText;
using test::RectIn;
HWND FindChild(HWND parent, const std::wstring& cls, int index = 0);

// The focused window of another thread's input queue (the GUI thread of pid's foreground).
HWND FocusOf(HWND topLevel);
std::pair<int, int> EditSelection(HWND edit);
// The foreground window described for failure messages: handle, class, process.
std::wstring DescribeForeground();

}  // namespace tav::e2e
