// Stands in for a started program (a windowless one, see CMakeLists.txt): appends its command
// line, current folder, window style, the variables TAV_PROBE_ECHO and PATH and whether it has a
// console window to the log named by TAV_PROBE_LOG (UTF-8, one record a line, fields split by
// tabs), then ends.
#include <windows.h>

#include <string>

#include "text_encoding.h"

int wmain() {
  using namespace tav;
  wchar_t logPath[MAX_PATH * 4];
  if (!GetEnvironmentVariableW(L"TAV_PROBE_LOG", logPath, MAX_PATH * 4)) return 3;
  wchar_t cwd[MAX_PATH * 4];
  GetCurrentDirectoryW(MAX_PATH * 4, cwd);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  auto variable = [](const wchar_t* name) -> std::string {
    static wchar_t value[32767];
    DWORD n = GetEnvironmentVariableW(name, value, 32767);
    return n ? ToUtf8(U(value)) : "<unset>";
  };
  std::string record = ToUtf8(U(GetCommandLineW())) + "\t" + ToUtf8(U(cwd)) + "\t" +
                       std::to_string((si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1) + "\t" +
                       variable(L"TAV_PROBE_ECHO") + "\t" + variable(L"PATH") + "\t" +
                       (GetConsoleWindow() ? "console" : "-") + "\n";
  HANDLE f = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 4;
  DWORD n = 0;
  WriteFile(f, record.data(), static_cast<DWORD>(record.size()), &n, nullptr);
  CloseHandle(f);
  return 0;
}
