// Ctrl+Shift+Enter, which runs a command as administrator, as the input box receives it.
#pragma once
#include <windows.h>

namespace tav {

// True for the key-down of Enter with Ctrl and Shift held, Alt not. Taken from the key, not the
// character: that one is the keyboard layout's (a layout may give none; Wine gives 10, the line
// feed that Ctrl+Enter and Ctrl+J also give, and which a one-line box ignores).
inline bool IsCtrlShiftEnter(WPARAM key) {
  return key == VK_RETURN && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace tav
