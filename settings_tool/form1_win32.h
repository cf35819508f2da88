// The settings window: visual settings with the preview, behaviour settings with the hotkey
// capture and shortcuts, the registration group, save and open-folder buttons.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "caption_fit_win32.h"
#include "colour_components.h"
#include "form1_controls.h"
#include "form2_win32.h"
#include "handles_win32.h"
#include "key_capture_box_win32.h"
#include "registration_frame_win32.h"
#include "scroll_host_win32.h"
#include "settings.h"
#include "window_win32.h"

namespace tav::settings {

inline constexpr wchar_t kCaptureText[] = L"ここに入力";

class Form1 final : public Window {
 public:
  // Creates the window and its controls and runs the load sequence; the window is still hidden.
  bool Create(HINSTANCE instance);
  void Show(int showCommand);
  // Keys the window takes before the dialog navigation does: PageUp and PageDown scroll it
  // when it is taller than its screen (except in the capture boxes, where they are hotkeys);
  // Enter on a push button clicks it. True when the message was used.
  bool PreTranslateMessage(const MSG& msg);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateControls();
  void CreateVisualFrame();     // Frame2: colours, font, skin
  void CreateBehaviourFrame();  // Frame1: hotkeys, shortcuts, focus, completion
  void Load();
  bool OnCommand(int id, int code, HWND control) override;
  void OnHScroll(WPARAM wp, LPARAM lp);

  // Visual settings: the six component boxes (Text1-Text6) and bars (HScroll1-HScroll6) share one
  // reaction each, told which component the control shows.
  void ComponentBox_Change(int c);
  void ComponentBox_LostFocus(int c);
  void HScroll_Change(int c, int value);
  void SyncComponents();
  // Full-width digits in a number box made ASCII; true when the text was rewritten.
  bool NarrowDigitsIn(Form1Id id, bool hex);
  void Text12_LostFocus();
  // The wheel over the closed, unfocused font box (or its edit) scrolls the window.
  static LRESULT CALLBACK Combo1_Wheel(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  void Command10_Click();
  void Command1_Click();
  void Check3_Click();
  // Hotkey capture.
  void Text7_KeyUp(WPARAM key, int modifiers);
  void Text8_KeyUp(WPARAM key, int modifiers);
  void Text7_Change();
  void Text8_Change();
  void Label5_Change();
  void Label11_Change();
  void SetCodeLabel(Form1Id label, const std::u16string& caption);
  void ShowHotkeyNote(int hotkey, WPARAM key);  // the note under hotkey 0's or 1's box
  bool IsCaptureBox(HWND w) const { return w && (w == capture_[0].Box() || w == capture_[1].Box()); }
  // Buttons.
  void Command2_Click();
  void Command7_Click();
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  // Places the controls for dpi_ with room for their captions, in the scroll host.
  void Layout();

  HWND Item(Form1Id id) const { return GetDlgItem(hwnd_, static_cast<int>(id)); }
  std::u16string Text(Form1Id id) const;
  void SetText(Form1Id id, const std::u16string& text);
  bool Ticked(Form1Id id) const;
  void Tick(Form1Id id);
  HWND Add(Form1Id id, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0);
  int Px(int dip) const { return tav::Px(dip, dpi_); }

  HINSTANCE instance_ = nullptr;
  UINT dpi_ = 96;
  UniqueFont uiFont_;
  Form2 form2_;
  ColourComponents colours_;
  RegistrationFrame registration_;
  std::vector<DesignedControl> designed_;  // every control at its designed place, in twips
  ScrollHost scroll_;                     // where they stand, sized to the screen
  HWND lastFocus_ = nullptr;
  KeyCaptureBox capture_[2];  // Text7, Text8
  // Mod1 and Mod2 as they stand, and as read at the start.
  int modifiers_[2] = {kModAlt, kModAlt}, modifiersAsRead_[2] = {kModAlt, kModAlt};
  bool applying_ = false;  // controls being set from the model: their notifications are ours
  std::u16string folder_;  // the program's folder as the platform reports it
};

}  // namespace tav::settings
