// The command registration group of the settings window (Frame3 and its controls).
#pragma once
#include <windows.h>

namespace tav::settings {

// Control identifiers of the frame's controls lie in this range; Form1's own controls stay below it.
inline constexpr int kRegistrationFirstId = 3000;
inline constexpr int kRegistrationLastId = 3999;

class RegistrationFrame {
 public:
  // Creates Frame3 and its controls as children of parent (Form1's client area), at their twips
  // positions scaled with dpi, all using uiFont.
  void Create(HWND parent, HINSTANCE instance, UINT dpi, HFONT uiFont);
  // Form1's WM_COMMAND: true when it came from one of the frame's controls (and was handled).
  bool OnCommand(WPARAM wParam, LPARAM lParam);

 private:
  HWND parent_ = nullptr;
};

}  // namespace tav::settings
