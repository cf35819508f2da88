// The command registration group of the settings window (Frame3 and its controls).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "caption_fit_win32.h"

namespace tav::settings {

// Control identifiers of the frame's controls lie in this range; Form1's own controls stay below it.
inline constexpr int kRegistrationFirstId = 3000;
inline constexpr int kRegistrationLastId = 3999;

class RegistrationFrame {
 public:
  // Control IDs, named after the controls (nested: Form1 has controls of its own by these kinds).
  enum Id : int {
    Frame3 = kRegistrationFirstId,
    Label17, Check4, Text10, Command8, Label16,
    Label18, Check5, Text11, Command9, Label19,
    Command11, Frame9, Command3, Command5, Command6,
    Label20, Text9, Command4,
  };

  // Creates Frame3 and its controls as children of parent (Form1's client area), all using
  // uiFont; Form1 places them (DesignedPlaces) with its own controls.
  void Create(HWND parent, HINSTANCE instance, HFONT uiFont);
  // Each control's designed place in twips of Form1's client area.
  std::vector<DesignedControl> DesignedPlaces() const;
  // Form1's WM_COMMAND: true when it came from one of the frame's controls (and was handled).
  bool OnCommand(WPARAM wParam, LPARAM lParam);

  // Command files and the browser probe go below this folder (the program's folder by default).
  void SetInstallFolder(std::u16string folder) { installFolder_ = std::move(folder); }

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
