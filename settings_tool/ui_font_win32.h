// The system's dialog font for a given dpi, able to show Japanese.
#pragma once
#include <windows.h>

#include "handles_win32.h"

namespace tav::settings {

// The message font of the system's metrics at dpi. When its face has no Japanese character
// set, a Japanese UI face is taken instead (or left to the font mapper by character set).
UniqueFont CreateUiFont(UINT dpi);

// Adds every installed font family to a combo box's list, each once, in the system's order.
void FillFontList(HWND combo);

}  // namespace tav::settings
