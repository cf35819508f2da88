// A window's text and class as a user or screen reader reads them, and where it lies, for the
// tests of every tier.
#pragma once
#include <windows.h>

#include <string>

namespace tav::test {

inline std::wstring WindowText(HWND w) {
  const int n = static_cast<int>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0));
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<std::size_t>(n));
  return s;
}

// The window's rectangle in parent's client area.
inline RECT RectIn(HWND parent, HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline std::wstring ClassName(HWND w) {
  wchar_t buf[256];
  const int n = GetClassNameW(w, buf, 256);
  return std::wstring(buf, static_cast<std::size_t>(n));
}

}  // namespace tav::test
