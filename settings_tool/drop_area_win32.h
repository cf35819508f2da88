// How a drop area looks: a label drawn with a dashed edge around a centred, wrapped caption, so
// it reads as a place to drop files on.
#pragma once
#include <windows.h>

namespace tav::settings {

// How the caption is drawn inside the edge (with DT_WORDBREAK).
inline constexpr UINT kDropAreaFormat = DT_CENTER | DT_NOPREFIX;

void MakeDropArea(HWND label);
bool IsDropArea(HWND w);
// Where the caption goes (client coordinates).
RECT DropAreaTextRect(HWND label);
// The area is being laid out at dpi: it draws at that scale from now on. Returns the inset (the
// edge and the air inside it) its caption keeps on each side, in pixels.
int LayOutDropArea(HWND label, UINT dpi);

}  // namespace tav::settings
