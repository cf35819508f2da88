// A change of monitor scale as another process's window receives it.
#pragma once
#include <windows.h>

namespace tav::e2e {

// WM_DPICHANGED as Windows sends it: the new scale, and a pointer to the suggested window
// rectangle, which the message does not carry between processes. The rectangle is put into the
// window's own process. False when it could not be.
bool SendDpiChanged(HWND w, UINT dpi, const RECT& suggested);

}  // namespace tav::e2e
