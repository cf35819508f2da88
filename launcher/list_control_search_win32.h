// The platform's own search of a list control. Completion searches the launcher's own table
// (collation_win32.h) instead, which the tests and the benchmark hold against this one.
#pragma once
#include <windows.h>

#include <string>

#include "window_win32.h"

namespace tav::mAPIDec {

// The first item of a combo box or list box that begins with text (exact: equals it), ignoring
// case, searching the whole list from its first item; -1 for no match or another kind of control.
inline int FindListEntry(HWND control, const std::u16string& text, bool exact) {
  UINT message;
  if (IsClass(control, L"ComboBox"))
    message = exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
  else if (IsClass(control, L"ListBox"))
    message = exact ? LB_FINDSTRINGEXACT : LB_FINDSTRING;
  else
    return -1;
  return static_cast<int>(SendMessageW(control, message, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(text.c_str()))));
}

}  // namespace tav::mAPIDec
