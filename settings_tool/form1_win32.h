// The settings window: visual settings with the preview, behaviour settings with the hotkey
// capture and shortcuts, the registration group, save and open-folder buttons.
#pragma once
#include <windows.h>

#include <bitset>
#include <string>
#include <vector>

#include "caption_fit_win32.h"
#include "colour_components.h"
#include "form1_controls.h"
#include "form2_win32.h"
#include "handles_win32.h"
#include "registration_frame_win32.h"
#include "settings.h"
#include "window_win32.h"

namespace tav::settings {

inline constexpr wchar_t kForm1Class[] = L"TavimsetForm1";
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
  static LRESULT CALLBACK CaptureBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateControls();
  void Load();
  void OnCommand(WPARAM wp, LPARAM lp);
  void OnHScroll(WPARAM wp, LPARAM lp);

  // Visual settings: the six component boxes and bars share one reaction each.
  void Text1_Change() { ComponentBox_Change(kBackRed); }
  void Text2_Change() { ComponentBox_Change(kBackGreen); }
  void Text3_Change() { ComponentBox_Change(kBackBlue); }
  void Text4_Change() { ComponentBox_Change(kTextRed); }
  void Text5_Change() { ComponentBox_Change(kTextGreen); }
  void Text6_Change() { ComponentBox_Change(kTextBlue); }
  void Text1_LostFocus() { ComponentBox_LostFocus(kBackRed); }
  void Text2_LostFocus() { ComponentBox_LostFocus(kBackGreen); }
  void Text3_LostFocus() { ComponentBox_LostFocus(kBackBlue); }
  void Text4_LostFocus() { ComponentBox_LostFocus(kTextRed); }
  void Text5_LostFocus() { ComponentBox_LostFocus(kTextGreen); }
  void Text6_LostFocus() { ComponentBox_LostFocus(kTextBlue); }
  void HScroll1_Change(int value) { HScroll_Change(kBackRed, value); }
  void HScroll2_Change(int value) { HScroll_Change(kBackGreen, value); }
  void HScroll3_Change(int value) { HScroll_Change(kBackBlue, value); }
  void HScroll4_Change(int value) { HScroll_Change(kTextRed, value); }
  void HScroll5_Change(int value) { HScroll_Change(kTextGreen, value); }
  void HScroll6_Change(int value) { HScroll_Change(kTextBlue, value); }
  void ComponentBox_Change(int c);
  void ComponentBox_LostFocus(int c);
  void HScroll_Change(int c, int value);
  void SyncComponents();
  void Text12_LostFocus();
  void Command10_Click();
  void Command1_Click();
  void Check3_Click();
  // Hotkey capture.
  void Text7_KeyUp(WPARAM key);
  void Text8_KeyUp(WPARAM key);
  void Text7_Change();
  void Text8_Change();
  void Label5_Change();
  void Label11_Change();
  void SetCodeLabel(Form1Id label, const std::u16string& caption);
  // Keys that were down when a capture box got the focus and have not been pressed since.
  std::bitset<256>& KeysHeldIntoBox(HWND box) {
    return keysHeldIn_[GetDlgCtrlID(box) == static_cast<int>(Form1Id::Text7) ? 0 : 1];
  }
  bool IsCaptureBox(HWND w) const { return w && (w == Item(Form1Id::Text7) || w == Item(Form1Id::Text8)); }
  // Buttons.
  void Command2_Click();
  void Command7_Click();
  void FillFontList();
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  // Places the controls for dpi_ with room for their captions (content_ is their extent).
  void Layout();
  // Sizes the window for its content on the monitor of target (else its own), inside the work
  // area: centred, or at target's top-left when given; taller than the work area, it scrolls.
  void PlaceWindow(const RECT* target);
  // Scrolls the content to y (kept in range); force: place the controls even when y is unchanged.
  void ScrollTo(int y, bool force = false);
  void ScrollFocusIntoView();
  void OnVScroll(WPARAM wp);
  void OnMouseWheel(WPARAM wp);
  static LRESULT CALLBACK FocusHook(int code, WPARAM wp, LPARAM lp);

  HWND Item(Form1Id id) const { return GetDlgItem(hwnd_, static_cast<int>(id)); }
  std::u16string Text(Form1Id id) const;
  void SetText(Form1Id id, const std::u16string& text);
  bool Ticked(Form1Id id) const;
  void Tick(Form1Id id);
  HWND Add(Form1Id id, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0);
  int Px(int dip) const { return MulDiv(dip, static_cast<int>(dpi_), 96); }
  int ClientHeight() const;

  HINSTANCE instance_ = nullptr;
  UINT dpi_ = 96;
  UniqueFont uiFont_;
  Form2 form2_;
  ColourComponents colours_;
  RegistrationFrame registration_;
  std::vector<DesignedControl> designed_;  // every control at its designed place, in twips
  std::vector<PlacedControl> places_;     // where they stand at dpi_, unscrolled
  SIZE content_{};                        // the client area the controls need at dpi_
  int scrollY_ = 0;
  int wheelRest_ = 0;  // wheel movement below one line, kept for the next notch
  HHOOK focusHook_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::bitset<256> keysHeldIn_[2];  // Text7, Text8
  bool applying_ = false;  // controls being set from the model: their notifications are ours
  std::u16string folder_;  // the program's folder as the platform reports it
};

}  // namespace tav::settings
