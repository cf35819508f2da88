// The command registration group of the settings window (Frame3 and its controls).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "caption_fit_win32.h"
#include "registration_controls.h"

namespace tav::settings {

class RegistrationFrame {
 public:
  // Creates Frame3 and its controls as children of parent (Form1's client area), all using
  // uiFont; Form1 places them (DesignedPlaces) with its own controls.
  void Create(HWND parent, HINSTANCE instance, HFONT uiFont);
  // Each control's designed place in twips of Form1's client area.
  std::vector<DesignedControl> DesignedPlaces() const;
  // Form1's WM_COMMAND: true when it came from one of the frame's controls (and was handled).
  bool OnCommand(int id, int code);

  // Command files and the browser probe go below this folder (the program's folder by default).

 private:
  void Command4_Click();
  void Command8_Click();
  void Command9_Click();
  void Command3_Click();
  void Command5_Click();
  void Command6_Click();
  void Command11_Click();
  void BrowserLookupInto();

  std::u16string Text(int id) const;
  void SetText(int id, const std::u16string& text);
  bool Ticked(int id) const;
  HWND Item(int id) const { return GetDlgItem(parent_, id); }

  HWND parent_ = nullptr;
  std::u16string installFolder_;
};

}  // namespace tav::settings
