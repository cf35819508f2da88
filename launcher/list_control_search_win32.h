// The platform's own search of a list control. Completion searches the launcher's own table
// (collation_win32.h) instead, which the tests and the benchmark hold against this one.
#pragma once
#include <windows.h>

#include <string>

namespace tav::mAPIDec {

// The first item of a combo box or list box that begins with text (exact: equals it), ignoring
// case, searching the whole list from its first item; -1 for no match or another kind of control.
inline int FindListEntry(HWND control, const std::u16string& text, bool exact) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  UINT message;
  if (lstrcmpiW(cls, L"ComboBox") == 0)
    message = exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
  else if (lstrcmpiW(cls, L"ListBox") == 0)
    message = exact ? LB_FINDSTRINGEXACT : LB_FINDSTRING;
  else
    return -1;
  return static_cast<int>(SendMessageW(control, message, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(text.c_str()))));
}

}  // namespace tav::mAPIDec
