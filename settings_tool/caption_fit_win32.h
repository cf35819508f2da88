// Controls placed from their designed places (twips) at a window's DPI, with the room that
// their captions need in the font they use: UI fonts differ in line height (Yu Gothic UI and
// Meiryo UI are taller than MS UI Gothic), so designed heights alone would cut text off.
#pragma once
#include <windows.h>

#include <vector>

#include "layout_flow.h"

namespace tav::settings {

// A control of a designed table: created at no size, placed later by LayOutCaptions.
struct ControlPlace {
  int id;
  const wchar_t* cls;
  const wchar_t* caption;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;  // twips, from the table's origin
  bool inFrame9 = false;         // the registration group's buttons: from Frame9's origin
};

// Creates the table's control as a visible child of parent, clipped by its siblings.
HWND CreatePlacedControl(const ControlPlace& c, HWND parent, HINSTANCE instance);

struct DesignedControl {
  HWND control;
  RECT twips;  // in the client area; a combo box's height is its dropped-down list's
};

struct PlacedControl {
  HWND control;
  RECT place;  // client pixels, not scrolled
};

struct CaptionLayout {
  std::vector<PlacedControl> places;
  SIZE client{};  // the client area that holds them all
};

// Every control's place at dpi with room for its caption; the controls must have their font.
CaptionLayout LayOutCaptions(const std::vector<DesignedControl>& controls, SIZE clientTwips, UINT dpi);

// Moves the controls to their places, shifted up by scrollY, and shapes them to what shows: a
// caption gives way to the controls after it in the window order that it reaches into, and with
// viewBottom >= 0 nothing shows below that line of the client area.
void ApplyPlaces(const std::vector<PlacedControl>& places, int scrollY, int viewBottom = -1);

// Window frame for a client size at dpi (the frame of that DPI, not the system's).
SIZE WindowSizeForClient(HWND w, SIZE client, UINT dpi);

}  // namespace tav::settings
